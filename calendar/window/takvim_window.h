#pragma once

#include <QWidget>
#include <array>

#include "calendar_view.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace kirnal {

class DayCell;

// The calendar window TAKVIM: draws the calendar's display model and passes the operator's
// clicks to it. Every control carries its name as object name (Label2_15, Command4, List1 ...).
class TakvimWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TakvimWindow(CalendarView view, QWidget* parent = nullptr);

  private:
    void clickCell(int cell);
    void askClearMonth();
    // Draws the whole model, the day list too.
    void render();

    CalendarView view_;
    std::array<QLabel*, 7> label1_{};
    std::array<DayCell*, kLastCell + 1> label2_{};
    QLabel* label4_;
    QLabel* label9_;
    QListWidget* list1_;
    QPushButton* command3_;
    QPushButton* command4_;
};

// The month caption "mmmm yyyy" with the system's month name.
std::string systemMonthCaption(YearMonth month);

}  // namespace kirnal
