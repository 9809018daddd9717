#include "windows/builders.h"

namespace treld {

void buildDemoSetTab(QWidget*) {}

}  // namespace treld
