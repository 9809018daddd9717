#include "month_grid.h"

#include <gtest/gtest.h>

namespace kirnal {
namespace {

TEST(MonthGrid, LaysOutMonths) {
    struct Case {
        YearMonth month;
        int firstWeekday;
        int daysInMonth;
    };
    const Case cases[] = {
        {{2008, 3}, 7, 31},   // starts on Saturday: days in cells 7 to 37
        {{2008, 2}, 6, 29},   // leap year
        {{2100, 2}, 2, 28},   // century, not a leap year
        {{2000, 2}, 3, 29},   // four hundred years, a leap year
        {{2026, 11}, 1, 30},  // starts on Sunday
    };
    for (const Case& c : cases) {
        const MonthLayout layout = layoutOf(c.month);
        EXPECT_EQ(layout.firstWeekday, c.firstWeekday) << c.month.year << "-" << c.month.month;
        EXPECT_EQ(layout.daysInMonth, c.daysInMonth) << c.month.year << "-" << c.month.month;
    }
    const MonthLayout march2008 = layoutOf({2008, 3});
    EXPECT_EQ(march2008.cellOfDay(1), 7);
    EXPECT_EQ(march2008.cellOfDay(31), kLastCell);
    EXPECT_FALSE(march2008.cellHoldsDay(6));
}

TEST(MonthGrid, PagesAcrossYearEnds) {
    EXPECT_EQ(nextMonth({2008, 12}), (YearMonth{2009, 1}));
    EXPECT_EQ(previousMonth({2009, 1}), (YearMonth{2008, 12}));
    EXPECT_EQ(nextMonth({2008, 6}), (YearMonth{2008, 7}));
    EXPECT_EQ(previousMonth({2008, 6}), (YearMonth{2008, 5}));
}

}  // namespace
}  // namespace kirnal
