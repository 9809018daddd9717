#include "month_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_reader.h"
#include "temp_program_dir.h"

namespace kirnal {
namespace {

TEST(MonthFile, ReadsTheTextItemAndItsDay) {
    struct Case {
        const char* line;
        const char* text;
        int day;
    };
    const Case cases[] = {
        {" 1 05-03-2008--10:02:55 Program start", "05-03-2008--10:02:55 Program start", 5},
        {"-5 17-03-2008--00:00:01 Negative code", "17-03-2008--00:00:01 Negative code", 17},
        {" 100 \"09-03-2008--12:00:00 Quoted, with comma\" tail",
         "09-03-2008--12:00:00 Quoted, with comma", 9},
        {" 100 08-03-2008--12:00:00 Alarm A, Alarm B", "08-03-2008--12:00:00 Alarm A", 8},
        {"1,2-03-2008 comma after the code", "2-03-2008 comma after the code", 2},
        {" 1 ab-03-2008 not a day", "ab-03-2008 not a day", 0},
        {" 1", "", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(eventTextOf(c.line), c.text) << c.line;
        EXPECT_EQ(dayOfEventText(eventTextOf(c.line)), c.day) << c.line;
    }
}

TEST(MonthFile, StreamsNonEmptyTextsInFileOrder) {
    const TempProgramDir dir;
    const std::string longText(LineReader::kMaxLineLength + 100, 'x');
    dir.write("SERLOGS/2008-03.TXT",
              " 1 01-03-2008 a\r\n 7\r\n 1 " + longText + "\r\n 1 02-03-2008 b\n 1 03-03-2008 c");
    const auto file = monthFilePath(dir.path(), {2008, 3});
    std::vector<std::string> texts;
    EXPECT_TRUE(forEachEventText(file, [&](std::string_view text) { texts.emplace_back(text); }));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "01-03-2008 a");
    EXPECT_EQ(texts[1].size(), LineReader::kMaxLineLength - 3);  // a very long line is cut
    EXPECT_EQ(texts[2], "02-03-2008 b");
    EXPECT_EQ(texts[3], "03-03-2008 c");
}

}  // namespace
}  // namespace kirnal
