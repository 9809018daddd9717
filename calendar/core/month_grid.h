#pragma once

namespace kirnal {

// A calendar month; month 1 to 12.
struct YearMonth {
    int year = 0;
    int month = 0;

    friend bool operator==(const YearMonth&, const YearMonth&) = default;
};

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

YearMonth previousMonth(YearMonth shown);
YearMonth nextMonth(YearMonth shown);

// The grid has 37 day cells in rows of seven, Sunday first; cell 0 lies before the first row and
// belongs to no day. Day d of a month lies in cell FirstWeekday + d - 1.
inline constexpr int kLastCell = 37;

struct MonthLayout {
    int firstWeekday = 1;  // weekday of day 1, 1 = Sunday to 7 = Saturday
    int daysInMonth = 0;

    int cellOfDay(int day) const { return firstWeekday + day - 1; }
    int dayOfCell(int cell) const { return cell - firstWeekday + 1; }
    bool cellHoldsDay(int cell) const {
        const int day = dayOfCell(cell);
        return day >= 1 && day <= daysInMonth;
    }
};

MonthLayout layoutOf(YearMonth shown);

}  // namespace kirnal
