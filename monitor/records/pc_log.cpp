#include "records/pc_log.h"

namespace treld {

// The PC event files land with the records subsystem.
void WritePcLog(Core&) {}

}  // namespace treld
