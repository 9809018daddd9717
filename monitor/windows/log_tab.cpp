#include "windows/builders.h"

namespace treld {

void buildLogTab(QWidget*) {}

}  // namespace treld
