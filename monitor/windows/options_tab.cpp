#include "windows/builders.h"

namespace treld {

void buildOptionsTab(QWidget*) {}

}  // namespace treld
