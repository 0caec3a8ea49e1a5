#include "sim/fault_outcome.h"

CommandOutcome FaultOutcome(const CommandFault& fault) {
  if (fault.aspiStatus != SS_ERR || fault.hostAdapterStatus != HASTAT_OK) {
    return TransportFailure(fault.aspiStatus, fault.hostAdapterStatus);
  }
  if (!fault.withSense) {
    CommandOutcome outcome;
    outcome.targetStatus = STATUS_CHKCOND;
    return outcome;
  }
  return CheckCondition(fault.senseKey, fault.asc, fault.ascq);
}
