#include "sim/config_items.h"

void AddDiagnosticConfigItems(ItemTable&) {}
