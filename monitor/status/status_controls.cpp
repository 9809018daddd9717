#include "status/status_controls.h"

namespace treld {

void declareStatusElements(DisplayModel&) {}

bool onStatusEvent(Core&, const OperatorEvent&) {
    return false;
}

}  // namespace treld
