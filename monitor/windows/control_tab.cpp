#include "windows/builders.h"

namespace treld {

void buildControlTab(QWidget*) {}

}  // namespace treld
