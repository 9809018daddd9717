#include "status/sas_decoder.h"

namespace treld {

// The status decoding lands with the status subsystem.
void SASAYIKLA(Core&) {}

}  // namespace treld
