#pragma once

#include <QLabel>

namespace kirnal {

// A day cell of the grid: a label that reports a click and shows the calendar's own pointer.
class DayCell : public QLabel {
    Q_OBJECT
  public:
    DayCell(int cell, QWidget* parent);

  signals:
    void clicked(int cell);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int cell_;
};

}  // namespace kirnal
