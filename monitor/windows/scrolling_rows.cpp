#include "windows/scrolling_rows.h"

#include <QScrollArea>
#include <QScrollBar>

namespace treld {
namespace {

// Asks for the whole page, not the few rows a plain scroll area settles for,
// so that the window opens as tall as its rows when the screen has room.
class RowsArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        return widget()->sizeHint() + QSize(verticalScrollBar()->sizeHint().width(), 0);
    }
};

}  // namespace

QWidget* scrollingRows(QBoxLayout* layout) {
    auto* area = new RowsArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* page = new QWidget;
    area->setWidget(page);
    layout->addWidget(area);
    return page;
}

}  // namespace treld
