// The calendar's core: the month grid, the month files and the language file.
#include "calendar_view.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/line_reader.h"
#include "language_texts.h"

namespace kirnal {
namespace {

// A program directory with an empty SERLOGS folder for one test, removed afterwards.
class TempProgramDir {
  public:
    TempProgramDir() { std::filesystem::create_directories(path_ / "SERLOGS"); }
    ~TempProgramDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    void write(const std::filesystem::path& relative, const std::string& content) const {
        std::ofstream(path_ / relative, std::ios::binary) << content;
    }

  private:
    inline static std::atomic<int> counter_{0};  // with the process id, keeps tests apart
    const std::filesystem::path path_ =
        std::filesystem::temp_directory_path() /
        ("kirnal-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
};

using Texts = std::vector<std::string>;

// Checked against a printed calendar: leap years, centuries, 400 years, a month to cell 37.
TEST(MonthGrid, StartsEachMonthOnItsWeekdayWithItsNumberOfDays) {
    const std::pair<YearMonth, std::pair<int, int>> cases[] = {
        {{2008, 2}, {6, 29}}, {{2100, 2}, {2, 28}},  {{2000, 2}, {3, 29}},
        {{1900, 2}, {5, 28}}, {{2026, 12}, {3, 31}}, {{2026, 8}, {7, 31}}};
    for (const auto& [month, expected] : cases) {
        const MonthLayout layout = layoutOf(month);
        EXPECT_EQ(std::pair(layout.firstWeekday, layout.daysInMonth), expected) << month.month;
    }
}

class CalendarViewTest : public testing::Test {
  protected:
    CalendarView open(YearMonth month) {
        LanguageTexts texts;
        for (const char* line : {"002 Event calendar", "007 April", "018 Sunday"})
            texts.addLine(line);
        return CalendarView(dir.path(), texts, month,
                            [](YearMonth m) { return "month " + std::to_string(m.month); });
    }
    static std::vector<int> markedCells(const CalendarView& view) {
        std::vector<int> cells;
        for (int cell = 1; cell <= kLastCell; ++cell) {
            if (view.model().label2[cell].background == Background::LightCyan)
                cells.push_back(cell);
        }
        return cells;
    }

    TempProgramDir dir;
};

TEST_F(CalendarViewTest, MarksDaysWithEventsAndListsTheClickedDayInFileOrder) {
    dir.write("SERLOGS/2008-04.TXT",
              " 1 02-04-2008--08:00:00 Program start\r\n"
              " 7 ab-04-2008--08:30:00 not a day\r\n"
              " 1 31-04-2008--09:00:00 day 31 of a 30-day month\r\n"
              " 1 99-04-2008--09:30:00 outside the grid\r\n"
              " 100 02-04-2008--10:00:00 Source1 fail, Source2 fail\r\n"
              " 1 02-04-2008--12:00:00 " +
                  std::string(treld::LineReader::kMaxLineLength, 'x') +
                  "\n-5 \"15-04-2008--11:00:00 quoted, with comma\" tail");
    CalendarView view = open({2008, 4});
    const DisplayModel& model = view.model();
    EXPECT_EQ(model.windowCaption + "|" + model.label1[0].caption, "Event calendar|Sunday");
    EXPECT_EQ(model.label1[6].background, Background::LightRed);
    EXPECT_EQ(model.label4, "month 4");
    // April 2008: Tuesday the 1st in cell 3, the 30th in cell 32.
    EXPECT_TRUE(!model.label2[2].visible && model.label2[3].visible);
    EXPECT_TRUE(model.label2[32].caption == "30" && !model.label2[33].visible);
    // Day 0 marks cell 2 and day 31 cell 33, both hidden; the lines after day 99 still count.
    EXPECT_EQ(markedCells(view), (std::vector<int>{4, 17}));

    view.clickCell(4);
    ASSERT_EQ(model.list1.size(), 3u);
    EXPECT_EQ(model.list1[0] + "|" + model.list1[1],
              "02-04-2008--08:00:00 Program start|02-04-2008--10:00:00 Source1 fail");
    EXPECT_EQ(model.list1[2].size(),
              treld::LineReader::kMaxLineLength - 3);  // a very long line is cut
    EXPECT_TRUE(model.label2[4].raised);
    EXPECT_EQ(model.label9, "2 April 2008");
    view.clickCell(17);
    EXPECT_EQ(model.list1, (Texts{"15-04-2008--11:00:00 quoted, with comma"}));
    EXPECT_TRUE(!model.label2[4].raised && model.label2[4].background == Background::LightCyan);
    view.clickCell(32);  // day 30: the day-31 line is never listed
    EXPECT_TRUE(model.list1.empty());
}

TEST_F(CalendarViewTest, ADayListHoldsItsFirstLinesOnlyARegularFileIsRead) {
    std::string lines;
    for (std::size_t i = 0; i < CalendarView::kMostListedLines + 3; ++i)
        lines += " 100 09-04-2008--08:00:00 -Overload\r\n";
    dir.write("SERLOGS/2008-04.TXT", lines);
    CalendarView view = open({2008, 4});
    view.clickCell(11);  // 9 April
    EXPECT_EQ(view.model().list1.at(CalendarView::kMostListedLines), "3 more lines");
    // A FIFO would wait for a writer and /dev/zero never end: both read as no file.
    ASSERT_EQ(mkfifo((dir.path() / "SERLOGS/2008-05.TXT").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.path() / "SERLOGS/2008-06.TXT");
    EXPECT_TRUE(markedCells(open({2008, 5})).empty() && markedCells(open({2008, 6})).empty());
}

TEST_F(CalendarViewTest, PagingShowsTheNewMonthsFirstDayAndClearDeletesTheFile) {
    dir.write("SERLOGS/2009-01.TXT", " 1 01-01-2009--00:00:01 Program start\r\n");
    dir.write("SERLOGS/2008-12.TXT", " 1 24-12-2008--00:00:01 Program start\r\n");
    CalendarView view = open({2008, 12});
    const int christmasEve = layoutOf({2008, 12}).cellOfDay(24);
    view.clickCell(christmasEve);
    view.showNextMonth();
    EXPECT_EQ(view.shownMonth(), (YearMonth{2009, 1}));
    const int newYear = layoutOf({2009, 1}).cellOfDay(1);
    EXPECT_EQ(view.model().label9, "1  2009");  // entry 4 (January) is missing
    EXPECT_EQ(view.model().list1, (Texts{"01-01-2009--00:00:01 Program start"}));
    EXPECT_EQ(markedCells(view), (std::vector<int>{newYear}));
    view.showPreviousMonth();
    EXPECT_EQ(markedCells(view), (std::vector<int>{christmasEve}));
    EXPECT_TRUE(view.model().list1.empty()) << "1 December has no lines";
    EXPECT_FALSE(view.model().label2[christmasEve].raised);

    view.clearMonth();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "SERLOGS/2008-12.TXT"));
    EXPECT_TRUE(markedCells(view).empty() && view.model().list1.empty());  // as without a file
}

TEST(LanguageTexts, KeepsOnlyUsableEntriesOfALine) {
    LanguageTexts texts;
    for (const char* line : {"001 Exit", "  002 Calendar  ", "3.4 Clear", "4.5 Halves go even",
                             "006 Old", "006 New", "7 x Short number", "024 Saturday"})
        EXPECT_TRUE(texts.addLine(line)) << line;
    for (const char* line : {"005 ", "000 Zero", "101 Too high", "-01 Negative", "abc No number",
                             "", "008 Binary\x01"})
        EXPECT_FALSE(texts.addLine(line)) << line;
    const char* const expected[] = {"", "Exit", "Calendar",     "Clear", "Halves go even",
                                    "", "New",  "Short number", ""};
    for (int number = 0; number < 9; ++number)
        EXPECT_EQ(texts.text(number), expected[number]) << number;
    EXPECT_EQ(texts.text(24) + texts.text(101), "Saturday");
}

TEST(LanguageTexts, AFileThatIsWrongIsSaidAndTheBuiltInTextsStandIn) {
    const TempProgramDir dir;
    const auto file = dir.path() / kLanguageFileName;
    std::string shipped(builtInLanguageFile());
    const struct Case {
        std::string text;
        const char* problem;
        const char* exitButton;  // entry 1
        const char* weekday;     // entry 18
    } cases[] = {
        {shipped, "", "Exit", "Sunday"},
        {"\r\n001 Quit\r\n018 Sun\r\n", "has no line 002", "Quit", "Sun"},  // cut short
        {"001 Quit\r\nCOMPORT:1\r\n", "line 2 is not a numbered text", "Exit", "Sunday"},
        {"001 Quit\r\n012\x01\x7F\x02 ELF\r\n", "line 2 is not a numbered text", "Exit", "Sunday"},
    };
    for (const Case& c : cases) {
        dir.write(kLanguageFileName, c.text);
        std::string problem;
        const auto texts = readLanguageFile(file, problem);
        ASSERT_TRUE(texts.has_value());
        EXPECT_TRUE(problem.find(c.problem) != std::string::npos && problem.empty() == !*c.problem)
            << problem;
        EXPECT_EQ(texts->text(1) + "|" + texts->text(18),
                  std::string(c.exitButton) + "|" + c.weekday);
        EXPECT_EQ(texts->text(16), "Delete all events of this month?");
    }
    // Neither waits nor reads for ever: as without a language file.
    std::filesystem::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    std::string problem;
    EXPECT_FALSE(readLanguageFile(file, problem) || readLanguageFile(dir.path(), problem) ||
                 readLanguageFile("/dev/zero", problem));
}

}  // namespace
}  // namespace kirnal
