#include "records/records_controls.h"

namespace treld {

void declareRecordsElements(DisplayModel&) {}

bool onRecordsEvent(Core&, const OperatorEvent&) {
    return false;
}

}  // namespace treld
