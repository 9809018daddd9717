// Prints how long the calendar takes to show a month and to list one day when the month file
// holds a very large number of event lines, once for the core alone and once through the window
// (drawn offscreen), and the peak memory of the process.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "calendar_view.h"
#include "day_cell.h"
#include "month_file.h"
#include "takvim_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Lines as the monitor writes them, spread over the first `days` days of March 2008.
void writeMonthFile(const std::filesystem::path& file, long lines, int days) {
    std::ofstream out(file, std::ios::binary);
    char line[128];
    for (long i = 0; i < lines; ++i) {
        const int day = static_cast<int>(i % days) + 1;
        const int second = static_cast<int>(i % 86400);
        const bool alarm = i % 2 == 1;
        const int length = std::snprintf(
            line, sizeof line, " %d %02d-03-2008--%02d:%02d:%02d %s\r\n", alarm ? 100 : 1, day,
            second / 3600, second / 60 % 60, second % 60,
            alarm ? "Source1 voltage fail Source2 frequency fail Overload" : "Program start");
        out.write(line, length);
    }
}

template <typename Action>
void printTime(const char* what, Action action) {
    const auto start = Clock::now();
    action();
    std::printf("%-32s %6.0f ms\n", what,
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const long lines = argc > 1 ? std::stol(argv[1]) : 1'000'000;
    const int days = argc > 2 ? std::clamp(std::stoi(argv[2]), 1, 31) : 31;
    const auto programDir =
        std::filesystem::temp_directory_path() / ("kirnal-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(programDir / "SERLOGS");
    const kirnal::YearMonth march{2008, 3};  // 1 March 2008 is a Saturday: cell 7
    const auto file = kirnal::monthFilePath(programDir, march);
    writeMonthFile(file, lines, days);
    std::printf("month file: %ld lines on %d days, %.1f MB\n", lines, days,
                static_cast<double>(std::filesystem::file_size(file)) / 1e6);
    std::printf("peak memory before reading: %ld KiB\n", peakMemoryKiB());

    const auto caption = [](kirnal::YearMonth) { return std::string("March 2008"); };
    {
        std::optional<kirnal::CalendarView> view;
        printTime("core: show the month",
                  [&] { view.emplace(programDir, kirnal::LanguageTexts{}, march, caption); });
        printTime("core: list day 1", [&] { view->clickCell(7); });
        std::printf("(%zu lines listed)\n", view->model().list1.size());
        std::printf("peak memory after the core:  %ld KiB\n", peakMemoryKiB());
    }

    kirnal::TakvimWindow window(
        kirnal::CalendarView(programDir, kirnal::LanguageTexts{}, {2008, 4}, caption));
    window.show();
    printTime("window: <<< back to the month", [&] {
        window.findChild<QPushButton*>("Command2")->click();
        application.processEvents();
    });
    printTime("window: list day 1", [&] {
        emit window.findChild<kirnal::DayCell*>("Label2_7")->clicked(7);
        application.processEvents();
    });
    std::printf("peak memory after the window: %ld KiB\n", peakMemoryKiB());

    std::filesystem::remove_all(programDir);
    return 0;
}
