#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "language_texts.h"
#include "month_grid.h"

namespace kirnal {

enum class Background { ButtonFace, LightRed, LightYellow, LightCyan };

// A weekday heading, Label1 0-6.
struct HeadingView {
    std::string caption;
    Background background = Background::LightYellow;
};

// A day cell, Label2 1-37; its type is always bold 12 point.
struct CellView {
    std::string caption;
    bool visible = false;
    Background background = Background::ButtonFace;
    bool raised = false;
};

// What the window TAKVIM shows, element by element.
struct DisplayModel {
    std::string windowCaption;
    std::array<HeadingView, 7> label1;           // Sunday to Saturday
    std::array<CellView, kLastCell + 1> label2;  // cells 1 to 37; index 0 is never shown
    std::string label4;                          // month caption under the grid
    std::string label9;                          // date line
    // The clicked day's event texts: the first kMostListedLines of them, then a row
    // "N more lines" for the rest, so that a day of any size costs bounded memory.
    std::vector<std::string> list1;
    std::string command3;  // exit button
    std::string command4;  // clear-month button
};

// The calendar window's behaviour without any window system: it keeps the month shown, reads the
// month's event file afresh for every month shown and every day clicked, and keeps the display
// model up to date.
class CalendarView {
  public:
    static constexpr std::size_t kMostListedLines = 10'000;

    // The month caption in the system's language, "mmmm yyyy".
    using MonthCaption = std::function<std::string(YearMonth)>;

    CalendarView(std::filesystem::path stationDir, LanguageTexts texts, YearMonth current,
                 MonthCaption monthCaption);

    const DisplayModel& model() const { return model_; }
    YearMonth shownMonth() const { return shown_; }
    const LanguageTexts& texts() const { return texts_; }

    void clickCell(int cell);
    // The month before or after, with its first day chosen: the date line and
    // the day list follow the month shown.
    void showPreviousMonth();
    void showNextMonth();
    // Deletes the shown month's file (the operator has agreed) and shows the month again; a file
    // that cannot be deleted leaves everything as it was.
    void clearMonth();

  private:
    void showMonth();
    void writeDateLine();
    void drawCell(int cell, bool raised);

    std::filesystem::path stationDir_;
    LanguageTexts texts_;
    MonthCaption monthCaption_;
    YearMonth shown_;
    MonthLayout layout_;
    std::array<bool, kLastCell + 1> dayHasEvents_{};
    int selectedCell_ = 0;
    int dateCell_ = 0;
    DisplayModel model_;
};

}  // namespace kirnal
