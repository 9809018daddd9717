#include "language_texts.h"

#include <gtest/gtest.h>

#include "temp_program_dir.h"

namespace kirnal {
namespace {

TEST(LanguageTexts, KeepsOnlyUsableEntriesOfTheFile) {
    const TempProgramDir dir;
    dir.write(kLanguageFileName,
              "001 Exit\r\n"
              "  002 Calendar  \r\n"    // blanks around the line are removed
              "3.4 Clear\r\n"           // rounded to 3
              "4.5 Halves go even\r\n"  // rounded to 4
              "005 \r\n"                // empty text: ignored
              "000 Zero\r\n101 Too high\r\n-01 Negative\r\nabc No number\r\n\r\n"  // no number
              "006 Old\r\n006 New\r\n"  // a later line replaces an earlier one
              "7 x Short number\r\n"    // the number is read from the first three characters
              "024 Saturday");          // no line end at the end of the file
    const auto texts = readLanguageFile(dir.path() / kLanguageFileName);
    ASSERT_TRUE(texts.has_value());
    const char* const expected[] = {"", "Exit", "Calendar",    "Clear", "Halves go even",
                                    "", "New",  "Short number"};
    for (int number = 0; number < 8; ++number)
        EXPECT_EQ(texts->text(number), expected[number]) << number;
    EXPECT_EQ(texts->text(24), "Saturday");
    EXPECT_EQ(texts->text(101), "");

    EXPECT_FALSE(readLanguageFile(dir.path() / "missing.TXT").has_value());
    EXPECT_FALSE(readLanguageFile(dir.path()).has_value());  // a folder is no language file
}

}  // namespace
}  // namespace kirnal
