#include "language_texts.h"

#include <gtest/gtest.h>

#include "temp_program_dir.h"

namespace kirnal {
namespace {

TEST(LanguageTexts, KeepsOnlyUsableEntries) {
    LanguageTexts texts;
    for (const char* line : {
             "001 Exit",
             "  002 Calendar  ",    // blanks around the line are removed
             "3.4 Clear",           // rounded to 3
             "4.5 Halves go even",  // rounded to 4
             "005 ",                // empty text: ignored
             "000 Zero",            // out of range
             "101 Too high",        // out of range
             "-01 Negative",        // out of range
             "abc No number", "", "006 Old",
             "006 New",           // a later line replaces an earlier one
             "7 x Short number",  // the number is read from the first three characters
         }) {
        texts.addLine(line);
    }
    EXPECT_EQ(texts.text(1), "Exit");
    EXPECT_EQ(texts.text(2), "Calendar");
    EXPECT_EQ(texts.text(3), "Clear");
    EXPECT_EQ(texts.text(4), "Halves go even");
    EXPECT_EQ(texts.text(5), "");
    EXPECT_EQ(texts.text(6), "New");
    EXPECT_EQ(texts.text(7), "Short number");
    EXPECT_EQ(texts.text(0), "");
    EXPECT_EQ(texts.text(101), "");
}

TEST(LanguageTexts, ReadsTheFileOrReportsItMissing) {
    const TempProgramDir dir;
    dir.write(kLanguageFileName, "001 Exit\r\n016 Delete?\r\n024 Saturday");
    const auto file = dir.path() / kLanguageFileName;
    const auto texts = readLanguageFile(file);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(texts->text(1), "Exit");
    EXPECT_EQ(texts->text(16), "Delete?");
    EXPECT_EQ(texts->text(24), "Saturday");

    EXPECT_FALSE(readLanguageFile(dir.path() / "missing.TXT").has_value());
    EXPECT_FALSE(readLanguageFile(dir.path()).has_value());  // a folder is no language file
}

}  // namespace
}  // namespace kirnal
