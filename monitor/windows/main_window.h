// Form1: the main window with its menus, tabs and status row.
#pragma once

#include <QMainWindow>

namespace treld {

QMainWindow* buildMainWindow();

}  // namespace treld
