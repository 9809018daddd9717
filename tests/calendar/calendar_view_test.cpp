#include "calendar_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_program_dir.h"

namespace kirnal {
namespace {

using Texts = std::vector<std::string>;

LanguageTexts englishTexts() {
    LanguageTexts texts;
    for (const char* line :
         {"001 Exit", "002 Event calendar", "006 March", "007 April", "018 Sunday"}) {
        texts.addLine(line);
    }
    return texts;
}

class CalendarViewTest : public testing::Test {
  protected:
    CalendarView open(YearMonth month) {
        return CalendarView(dir.path(), englishTexts(), month,
                            [](YearMonth m) { return "month " + std::to_string(m.month); });
    }
    static std::vector<int> markedCells(const CalendarView& view) {
        std::vector<int> cells;
        for (int cell = 1; cell <= kLastCell; ++cell) {
            if (view.model().label2[cell].background == Background::LightCyan) {
                cells.push_back(cell);
            }
        }
        return cells;
    }

    TempProgramDir dir;
};

TEST_F(CalendarViewTest, OpensWithCaptionsHeadingsAndTheMonthGrid) {
    const CalendarView view = open({2008, 3});
    const DisplayModel& model = view.model();
    EXPECT_EQ(model.windowCaption, "Event calendar");
    EXPECT_EQ(model.command3, "Exit");
    EXPECT_EQ(model.label1[0].caption, "Sunday");
    EXPECT_EQ(model.label1[0].background, Background::LightRed);
    EXPECT_EQ(model.label1[6].background, Background::LightRed);
    EXPECT_EQ(model.label4, "month 3");
    EXPECT_EQ(model.label9, "1 March 2008");
    // 1 March 2008 is a Saturday: days 1 to 31 fill cells 7 to 37.
    EXPECT_FALSE(model.label2[6].visible);
    EXPECT_TRUE(model.label2[7].visible && model.label2[37].visible);
    EXPECT_EQ(model.label2[37].caption, "31");
    EXPECT_TRUE(markedCells(view).empty());  // no file for the month
}

TEST_F(CalendarViewTest, MarksDaysAndListsTheClickedDayInFileOrder) {
    // April 2008 starts on Tuesday (cell 3) and has 30 days.
    dir.write("SERLOGS/2008-04.TXT",
              " 1 02-04-2008--08:00:00 Program start\r\n"
              " 7 ab-04-2008--08:30:00 not a day\r\n"
              " 1 31-04-2008--09:00:00 day 31 of a 30-day month\r\n"
              " 1 99-04-2008--09:30:00 outside the grid\r\n"
              " 100 02-04-2008--10:00:00 Source1 fail\r\n"
              " 1 \"15-04-2008--11:00:00 quoted\"\r\n");
    CalendarView view = open({2008, 4});
    // Day 0 marks cell 2 and day 31 cell 33, both hidden; the lines after day 99 still count.
    EXPECT_EQ(markedCells(view), (std::vector<int>{4, 17}));

    view.clickCell(4);
    EXPECT_EQ(view.model().list1,
              (Texts{"02-04-2008--08:00:00 Program start", "02-04-2008--10:00:00 Source1 fail"}));
    EXPECT_TRUE(view.model().label2[4].raised);
    EXPECT_EQ(view.model().label9, "2 April 2008");

    view.clickCell(17);
    EXPECT_EQ(view.model().list1, (Texts{"15-04-2008--11:00:00 quoted"}));
    EXPECT_FALSE(view.model().label2[4].raised);
    EXPECT_EQ(view.model().label2[4].background, Background::LightCyan);

    view.clickCell(32);  // day 30: the day-31 line is never listed
    EXPECT_TRUE(view.model().list1.empty());
    view.clickCell(33);  // hidden cell: nothing happens
    EXPECT_EQ(view.model().label9, "30 April 2008");
}

TEST_F(CalendarViewTest, PagingKeepsTheDateLineAndListUntilTheNextClick) {
    dir.write("SERLOGS/2009-01.TXT", " 1 03-01-2009--00:00:01 Program start\r\n");
    dir.write("SERLOGS/2008-12.TXT", " 1 24-12-2008--00:00:01 Program start\r\n");
    CalendarView view = open({2008, 12});
    const int christmasEve = layoutOf({2008, 12}).cellOfDay(24);
    view.clickCell(christmasEve);
    view.showNextMonth();
    EXPECT_EQ(view.shownMonth(), (YearMonth{2009, 1}));
    EXPECT_EQ(view.model().label4, "month 1");
    EXPECT_EQ(view.model().label9, "24  2008");  // entry 15 (December) is missing
    EXPECT_EQ(view.model().list1.size(), 1u);
    EXPECT_EQ(markedCells(view), (std::vector<int>{layoutOf({2009, 1}).cellOfDay(3)}));

    view.showPreviousMonth();
    EXPECT_EQ(view.shownMonth(), (YearMonth{2008, 12}));
    EXPECT_EQ(markedCells(view), (std::vector<int>{christmasEve}));
    EXPECT_FALSE(view.model().label2[christmasEve].raised);
}

TEST_F(CalendarViewTest, ClearMonthDeletesTheFileOrChangesNothing) {
    dir.write("SERLOGS/2008-03.TXT", " 1 01-03-2008--00:00:01 Program start\r\n");
    CalendarView view = open({2008, 3});
    view.clickCell(7);
    view.clearMonth();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "SERLOGS/2008-03.TXT"));
    EXPECT_TRUE(markedCells(view).empty());
    EXPECT_TRUE(view.model().list1.empty());

    dir.write("SERLOGS/2008-04.TXT", " 1 01-04-2008--00:00:01 Program start\r\n");
    view.showNextMonth();
    view.clickCell(layoutOf({2008, 4}).cellOfDay(1));
    // Another copy deleted the file meanwhile: this deletion fails and changes nothing.
    std::filesystem::remove(dir.path() / "SERLOGS/2008-04.TXT");
    view.clearMonth();
    EXPECT_EQ(markedCells(view).size(), 1u);
    EXPECT_EQ(view.model().list1.size(), 1u);
}

}  // namespace
}  // namespace kirnal
