#ifndef SCAN_FS_SIM_FAULT_OUTCOME_H
#define SCAN_FS_SIM_FAULT_OUTCOME_H

#include "sim/command_outcome.h"
#include "sim/sim_config.h"

// How a command that a configured fault makes fail ends: CHECK CONDITION with the fault's sense
// data (or none written), or the transport failure it names.
CommandOutcome FaultOutcome(const CommandFault& fault);

#endif
