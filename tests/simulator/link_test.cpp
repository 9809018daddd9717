#include <gtest/gtest.h>

#include <string>

#include "command_line.h"
#include "line_reader.h"
#include "link_faults.h"

namespace sts {
namespace {

std::string joined(const std::vector<TimedWrite>& writes) {
    std::string all;
    for (const auto& w : writes) {
        all += w.bytes;
    }
    return all;
}

TEST(LineReader, SplitsOnCrIgnoresLfAndDropsOverlongLines) {
    LineReader reader;
    EXPECT_TRUE(reader.feed("SR").empty());
    auto lines = reader.feed("V\r\nW0032001\r\r");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "SRV");
    EXPECT_EQ(lines[1].text, "W0032001");
    EXPECT_EQ(lines[2].text, "");

    lines = reader.feed(std::string(LineReader::kMaxLine * 10, 'x'));
    EXPECT_TRUE(lines.empty());
    lines = reader.feed("yyy\rSAS\r");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].overlong);
    EXPECT_EQ(lines[0].text, "");
    EXPECT_EQ(lines[1].text, "SAS");
    EXPECT_FALSE(lines[1].overlong);
}

TEST(ReplyShaper, AppliesLineFaults) {
    ReplyShaper shaper(7);
    const std::string reply = "#230 231 229 228 230 232 0500 0499\r";

    auto writes = shaper.shape(reply, LinkFaults{}, 100);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].due, 100);
    EXPECT_EQ(writes[0].bytes, reply);

    LinkFaults pieces;
    pieces.chunks = 3;
    pieces.delayMs = 250;
    writes = shaper.shape(reply, pieces, 100);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].due, 350);
    EXPECT_EQ(writes[2].due, 350 + 2 * ReplyShaper::kChunkGap);
    EXPECT_EQ(joined(writes), reply);
    EXPECT_EQ(writes[0].bytes.find('\r'), std::string::npos);

    pieces.chunks = 64;  // more pieces than characters: one character each
    EXPECT_EQ(shaper.shape("OK\r", pieces, 0).size(), 3u);

    LinkFaults noCr;
    noCr.noCr = true;
    EXPECT_EQ(joined(shaper.shape(reply, noCr, 0)), reply.substr(0, reply.size() - 1));

    LinkFaults garbage;
    garbage.garbage = true;
    const std::string garbled = joined(shaper.shape(reply, garbage, 0));
    EXPECT_EQ(garbled.size(), reply.size());
    EXPECT_NE(garbled, reply);
    EXPECT_EQ(garbled.back(), '\r');
    EXPECT_EQ(garbled.find('\r'), garbled.size() - 1);

    LinkFaults silent;
    silent.silent = true;
    EXPECT_TRUE(shaper.shape(reply, silent, 0).empty());
}

TEST(CommandLine, ReadsOptionsAndRejectsBadOnes) {
    std::string error;
    const auto options = parseCommandLine(
        {"--link", "/tmp/x", "--chunks", "4", "--delay", "300", "--garbage", "--no-cr", "--silent",
         "--service-password", "abcd", "--user-password", "4321", "--seed", "9"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->linkPath, "/tmp/x");
    EXPECT_EQ(options->faults.chunks, 4);
    EXPECT_EQ(options->faults.delayMs, 300);
    EXPECT_TRUE(options->faults.garbage && options->faults.noCr && options->faults.silent);
    EXPECT_EQ(options->servicePassword, "abcd");
    EXPECT_EQ(options->userPassword, "4321");
    EXPECT_EQ(options->seed, 9u);

    const std::vector<std::vector<std::string>> bad = {
        {"--chunks", "0"},
        {"--chunks", "x"},
        {"--delay", "-5"},
        {"--trace"},
        {"--user-password", "12345"},
        {"--bogus", "1"},
        {"stray"},
    };
    for (const auto& arguments : bad) {
        error.clear();
        EXPECT_FALSE(parseCommandLine(arguments, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace sts
