#include "records/sts_log.h"

namespace treld {

// The log download lands with the records subsystem.
void LOGS(Core&) {}
void restartStsLogDownload(Core&) {}

}  // namespace treld
