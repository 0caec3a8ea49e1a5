#include "sim/config_items.h"

void AddScanConfigItems(ItemTable&) {}
