#include "link/station_list.h"

namespace treld {

// The station list lands with the TCP links.
void STSLIST(Core&) {}

}  // namespace treld
