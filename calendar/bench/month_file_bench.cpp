// Prints how long the calendar takes to show a month and to list one day when the month file
// holds a very large number of event lines, and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "calendar_view.h"
#include "month_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// Lines as the monitor writes them, spread over the 31 days of March 2008.
void writeMonthFile(const std::filesystem::path& file, long lines) {
    std::ofstream out(file, std::ios::binary);
    char line[128];
    for (long i = 0; i < lines; ++i) {
        const int day = static_cast<int>(i % 31) + 1;
        const int second = static_cast<int>(i % 86400);
        const bool alarm = i % 2 == 1;
        const int length =
            std::snprintf(line, sizeof line, " %d %02d-03-2008--%02d:%02d:%02d %s\r\n",
                          alarm ? 100 : 1, day, second / 3600, second / 60 % 60, second % 60,
                          alarm ? "Source1 fail Overload" : "Program start");
        out.write(line, length);
    }
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char* argv[]) {
    const long lines = argc > 1 ? std::stol(argv[1]) : 1'000'000;
    const auto programDir =
        std::filesystem::temp_directory_path() / ("kirnal-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(programDir / "SERLOGS");
    const kirnal::YearMonth march{2008, 3};
    const auto file = kirnal::monthFilePath(programDir, march);
    writeMonthFile(file, lines);
    std::printf("month file: %ld lines, %.1f MB\n", lines,
                static_cast<double>(std::filesystem::file_size(file)) / 1e6);
    const long memoryBefore = peakMemoryKiB();

    auto start = Clock::now();
    kirnal::CalendarView view(programDir, kirnal::LanguageTexts{}, march,
                              [](kirnal::YearMonth) { return std::string("March 2008"); });
    std::printf("show the month: %.0f ms\n", millisecondsSince(start));

    start = Clock::now();
    view.clickCell(7);  // 1 March 2008, a Saturday
    std::printf("list one day:   %.0f ms (%zu lines listed)\n", millisecondsSince(start),
                view.model().list1.size());
    std::printf("peak memory:    %ld KiB (%ld KiB before showing the month)\n", peakMemoryKiB(),
                memoryBefore);

    std::filesystem::remove_all(programDir);
    return 0;
}
