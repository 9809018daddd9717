#include "windows/builders.h"

namespace treld {

void buildMeasuresTab(QWidget*) {}

}  // namespace treld
