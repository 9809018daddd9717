#include "calendar_view.h"

#include <system_error>
#include <utility>

#include "month_file.h"

namespace kirnal {

CalendarView::CalendarView(std::filesystem::path stationDir, LanguageTexts texts, YearMonth current,
                           MonthCaption monthCaption)
    : stationDir_(std::move(stationDir)),
      texts_(std::move(texts)),
      monthCaption_(std::move(monthCaption)),
      shown_(current) {
    for (int weekday = 0; weekday < 7; ++weekday) {
        const bool weekend = weekday == 0 || weekday == 6;
        model_.label1[weekday] = {texts_.text(LanguageTexts::kFirstWeekdayHeading + weekday),
                                  weekend ? Background::LightRed : Background::LightYellow};
    }
    model_.command3 = texts_.text(LanguageTexts::kExitButton);
    model_.windowCaption = texts_.text(LanguageTexts::kWindowCaption);
    model_.command4 = texts_.text(LanguageTexts::kClearMonthButton);
    showMonth();
    writeDateLine();
}

void CalendarView::showMonth() {
    dayHasEvents_.fill(false);
    layout_ = layoutOf(shown_);
    model_.label4 = monthCaption_(shown_);
    for (auto& cell : model_.label2) {
        cell = CellView{};
    }
    forEachEventText(monthFilePath(stationDir_, shown_), [this](std::string_view text) {
        // A day that lies outside the grid (garbled line) is skipped; later lines still count.
        const int cell = layout_.cellOfDay(dayOfEventText(text));
        if (cell >= 0 && cell <= kLastCell) {
            dayHasEvents_[cell] = true;
        }
    });
    for (int day = 1; day <= layout_.daysInMonth; ++day) {
        const int cell = layout_.cellOfDay(day);
        model_.label2[cell].caption = std::to_string(day);
        model_.label2[cell].visible = true;
        drawCell(cell, false);
    }
    selectedCell_ = dateCell_ = layout_.cellOfDay(1);
}

void CalendarView::drawCell(int cell, bool raised) {
    model_.label2[cell].raised = raised;
    model_.label2[cell].background =
        dayHasEvents_[cell] ? Background::LightCyan : Background::ButtonFace;
}

void CalendarView::writeDateLine() {
    model_.label9 = model_.label2[dateCell_].caption + " " +
                    texts_.text(LanguageTexts::kFirstMonthName + shown_.month - 1) + " " +
                    std::to_string(shown_.year);
}

void CalendarView::clickCell(int cell) {
    if (cell < 1 || cell > kLastCell || !model_.label2[cell].visible) {
        return;
    }
    model_.list1.clear();
    drawCell(selectedCell_, false);
    selectedCell_ = cell;
    drawCell(cell, true);
    dateCell_ = cell;
    writeDateLine();
    const int day = layout_.dayOfCell(cell);
    std::size_t notListed = 0;
    forEachEventText(monthFilePath(stationDir_, shown_), [&](std::string_view text) {
        if (dayOfEventText(text) != day) {
            return;
        }
        if (model_.list1.size() < kMostListedLines) {
            model_.list1.emplace_back(text);
        } else {
            ++notListed;
        }
    });
    if (notListed > 0) {
        model_.list1.push_back(std::to_string(notListed) + " more lines");
    }
}

void CalendarView::showPreviousMonth() {
    shown_ = previousMonth(shown_);
    showMonth();
    clickCell(selectedCell_);
}

void CalendarView::showNextMonth() {
    shown_ = nextMonth(shown_);
    showMonth();
    clickCell(selectedCell_);
}

void CalendarView::clearMonth() {
    std::error_code failure;
    if (!std::filesystem::remove(monthFilePath(stationDir_, shown_), failure)) {
        return;
    }
    showMonth();
    model_.list1.clear();
}

}  // namespace kirnal
