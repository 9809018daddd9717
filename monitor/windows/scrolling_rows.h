// Rows of fields that need more height than a small screen at a large scale
// leaves (the options, the Settings dialog): they scroll there, and show
// whole wherever they fit.
#pragma once

#include <QBoxLayout>
#include <QWidget>

namespace treld {

// Adds a frameless scroll area to `layout` and gives the page it scrolls;
// the rows go into the page's layout.
QWidget* scrollingRows(QBoxLayout* layout);

}  // namespace treld
