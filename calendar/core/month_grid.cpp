#include "month_grid.h"

#include <chrono>

namespace kirnal {

YearMonth previousMonth(YearMonth shown) {
    return shown.month <= 1 ? YearMonth{shown.year - 1, 12}
                            : YearMonth{shown.year, shown.month - 1};
}

YearMonth nextMonth(YearMonth shown) {
    return shown.month >= 12 ? YearMonth{shown.year + 1, 1}
                             : YearMonth{shown.year, shown.month + 1};
}

MonthLayout layoutOf(YearMonth shown) {
    using namespace std::chrono;
    const year_month month{year{shown.year},
                           std::chrono::month{static_cast<unsigned>(shown.month)}};
    const weekday first{sys_days{month / 1}};
    const auto last = (month / std::chrono::last).day();
    return MonthLayout{static_cast<int>(first.c_encoding()) + 1,
                       static_cast<int>(static_cast<unsigned>(last))};
}

}  // namespace kirnal
