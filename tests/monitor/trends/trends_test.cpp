// The trend history, its daily CSV files and the decimation for the charts,
// driven through the poll cycle in virtual time.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "support/virtual_rig.h"
#include "trends/decimation.h"
#include "trends/trend_csv.h"

namespace treld::testing {
namespace {

constexpr std::array<std::int16_t, kReadingFields> kFlat = {230, 230, 230, 230, 230, 230, 500, 500};

const TrendHistory& historyOf(VirtualRig& rig) {
    return rig.monitor.trends().history;
}

TEST(TrendHistory, KeepsOneSamplePerSecondForADayAndOneGapPerLoss) {
    TrendHistory history;
    for (std::int64_t at = 0; at < 25 * 3600; ++at)
        history.add(ReplyGroup::Source, at, kFlat);
    const auto& samples = history.samples(ReplyGroup::Source);
    EXPECT_EQ(samples.size(), 86400u);
    EXPECT_EQ(samples.front().at, 3600);

    auto spike = kFlat;
    spike[0] = 300;
    history.add(ReplyGroup::Source, 25 * 3600 - 1, spike);  // the same second again
    history.addLinkLost(ReplyGroup::Source, 25 * 3600 + 5);
    history.addLinkLost(ReplyGroup::Source, 25 * 3600 + 9);
    EXPECT_TRUE(samples.back().linkLost);
    EXPECT_EQ(samples[samples.size() - 2].numbers[0], 300);
    EXPECT_EQ(history.valuesAt(ReplyGroup::Source, 25 * 3600 + 4)->numbers[0], 300);
    EXPECT_EQ(history.valuesAt(ReplyGroup::Source, 25 * 3600 + 6), nullptr) << "link lost";
    EXPECT_EQ(history.valuesAt(ReplyGroup::Output, 25 * 3600), nullptr) << "never received";

    history.add(ReplyGroup::Source, 10 * 3600, kFlat);  // the PC clock was set back
    EXPECT_EQ(samples.back().at, 10 * 3600);
    EXPECT_EQ(history.valuesAt(ReplyGroup::Source, 10 * 3600 + 31), nullptr) << "quiet too long";
}

TEST(TrendDecimation, KeepsSpikesAndDipsWithinTwoPointsPerBucketAndShowsGaps) {
    TrendHistory history;
    const std::int64_t day = 86400;
    for (std::int64_t at = 0; at < day; ++at) {
        auto numbers = kFlat;
        numbers[0] = at == 40'000 ? 999 : (at == 40'001 ? 0 : 230 + at % 3);
        numbers[1] = kNotANumber;
        if (at >= 60'000 && at < 60'100) {
            history.addLinkLost(ReplyGroup::Source, at);
        } else {
            history.add(ReplyGroup::Source, at, numbers);
        }
    }
    const ReplyPlot plot = plotReply(history.samples(ReplyGroup::Source), 0, day - 1, 800);
    const auto& l1 = plot.fields[0];
    EXPECT_LE(l1.size(), 1600u);
    EXPECT_TRUE(std::is_sorted(l1.begin(), l1.end(), [](auto& a, auto& b) { return a.at < b.at; }));
    EXPECT_NE(std::find(l1.begin(), l1.end(), PlotPoint{40'000, 999}), l1.end());
    EXPECT_NE(std::find(l1.begin(), l1.end(), PlotPoint{40'001, 0}), l1.end());
    EXPECT_TRUE(plot.fields[1].empty()) << "a field that is no number draws nothing";
    EXPECT_EQ(plot.gaps, (std::vector<TimeSpan>{{60'000, 60'100}}));

    // Ten minutes draw every sample; a range past the data ends in a gap.
    const ReplyPlot recent =
        plotReply(history.samples(ReplyGroup::Source), day - 600, day + 99, 700);
    EXPECT_EQ(recent.fields[0].size(), 600u);
    EXPECT_EQ(recent.gaps, (std::vector<TimeSpan>{{day - 1, day + 99}}));
}

// A healthy device, then "SRV" replies that fail the format test, then
// silence; local time one hour ahead of UTC.
TEST(TrendFiles, RowsEveryTenSecondsWithEmptyCellsWhileTheLinkIsDown) {
    VirtualRig rig;
    rig.platform.utcOffsetSeconds = 3600;
    rig.holdReadings();
    rig.start();
    rig.advance(12'000);
    rig.fault("SRV").reply = "#230 231\r";
    rig.advance(3'000);
    EXPECT_TRUE(historyOf(rig).samples(ReplyGroup::Source).back().linkLost)
        << "a reply that failed the format test is a gap, not the last values again";
    rig.platform.onSerialWrite = [](auto) {};  // the device falls silent
    rig.advance(16'000);

    const std::string kRow = "230,231,229,228,230,232,50.0,49.9,45,50,55,10,11,12,35,2\r\n";
    EXPECT_EQ(rig.readFile("TRENDS/2026-12-05.csv"),
              "Time,S1 L1 (V),S1 L2 (V),S1 L3 (V),S2 L1 (V),S2 L2 (V),S2 L3 (V),"
              "S1 frequency (Hz),S2 frequency (Hz),Load L1 (%),Load L2 (%),Load L3 (%),"
              "Current L1 (A),Current L2 (A),Current L3 (A),Temperature (C),SYNC angle (deg)\r\n"
              "2026-12-05T14:05:01+01:00," +
                  kRow + "2026-12-05T14:05:10+01:00," + kRow +
                  "2026-12-05T14:05:20+01:00,,,,,,,,,45,50,55,10,11,12,35,2\r\n"  // garbled SRV
                  "2026-12-05T14:05:30+01:00,,,,,,,,,,,,,,,,\r\n");
    EXPECT_TRUE(historyOf(rig).samples(ReplyGroup::Source).back().linkLost);
    EXPECT_TRUE(historyOf(rig).samples(ReplyGroup::Output).back().linkLost);

    // "Save CSV...": a row for every second with a sample, from the first.
    EXPECT_TRUE(shownRangeCsv(rig.monitor.trends(), 0)
                    .starts_with(trendCsvHeader() + "2026-12-05T14:05:00+01:00," + kRow +
                                 "2026-12-05T14:05:01+01:00," + kRow));
}

TEST(TrendFiles, AFolderOrFileThatIsNoneIsSkippedAndSaidAndItsRowsKeptForLater) {
    // The old monitor hung on the FIFO at start, and read /dev/zero for ever.
    const struct Case {
        void (*make)(const std::filesystem::path& folder);
        bool skipped;
        const char* written;
    } cases[] = {
        {[](const auto& folder) { std::ofstream(folder) << "a file where the folder belongs"; },
         false, ": Not a directory"},
        {[](const auto& folder) {
             std::filesystem::create_directory(folder);
             mkfifo((folder / "2026-12-05.csv").c_str(), 0600);
             std::filesystem::create_symlink("/dev/zero", folder / "2026-12-04.csv");
         },
         true, ": not a regular file"},
    };
    for (const Case& c : cases) {
        VirtualRig rig;
        const std::string folder = (rig.programDir / "TRENDS").string();
        c.make(folder);
        rig.start();
        const std::string skipped = " skipped: not a regular file";
        if (c.skipped) {
            EXPECT_EQ(rig.caption(kStatusLine), "Trends: " + folder + "/2026-12-04.csv" + skipped +
                                                    " | Trends: " + folder + "/2026-12-05.csv" +
                                                    skipped);
        }
        rig.advance(1'000);
        EXPECT_EQ(rig.caption(kStatusLine), "Trends not written: " + folder + "/2026-12-05.csv" +
                                                c.written + "; 1 row kept to write later");
        rig.advance(20'000);
        EXPECT_EQ(rig.caption(kStatusLine), "Data OK");
        std::filesystem::remove_all(folder);
        rig.advance(1'000);  // the kept rows, in order, under one header
        const std::string written = rig.readFile("TRENDS/2026-12-05.csv");
        EXPECT_TRUE(written.starts_with(trendCsvHeader() + "2026-12-05T14:05:01+00:00,"));
        EXPECT_NE(written.find("\r\n2026-12-05T14:05:20+00:00,"), std::string::npos);
        EXPECT_EQ(std::ranges::count(written, '\n'), 4);
    }
}

TEST(TrendFiles, RestartReloadsYesterdayAndTodaySkippingADamagedLastLine) {
    VirtualRig rig;
    const std::string yesterday = "2026-12-04T23:59:50+00:00,1,2,3,4,5,6,49.9,50.1,,,,,,,,\r\n";
    const std::string today =
        trendCsvHeader() + "2026-12-05T14:04:50+00:00,,,,,,,,,45,50,55,10,11,12,35,2\r\n" +
        "2026-12-05T14:04:55+00:00,230,231,229,228,230,232,50.0,49.9,45,50,55,10,11,12,35,2\r\n" +
        "2026-12-05T14:04:58+00:00,230,23";
    std::filesystem::create_directory(rig.programDir / "TRENDS");
    rig.writeFile("TRENDS/2026-12-04.csv", trendCsvHeader() + yesterday);
    rig.writeFile("TRENDS/2026-12-05.csv", today);
    rig.start();

    EXPECT_EQ(rig.caption(kStatusLine),
              "Trends: damaged lines skipped in " +
                  (rig.programDir / "TRENDS" / "2026-12-05.csv").string() + ": 1");
    const TrendHistory& history = historyOf(rig);
    const std::int64_t now = rig.platform.now().epochSeconds;
    EXPECT_EQ(trendCsvRow(history, now - 8, 0),
              "2026-12-05T14:04:52+00:00,,,,,,,,,45,50,55,10,11,12,35,2\r\n");
    EXPECT_EQ(
        trendCsvRow(history, now - 5, 0),
        "2026-12-05T14:04:55+00:00,230,231,229,228,230,232,50.0,49.9,45,50,55,10,11,12,35,2\r\n");
    EXPECT_EQ(history.samples(ReplyGroup::Source).front().numbers[6], 499) << "yesterday";
    rig.advance(1'000);
    EXPECT_TRUE(
        rig.readFile("TRENDS/2026-12-05.csv").starts_with(today + "\r\n2026-12-05T14:05:01+00:00,"))
        << "the next row starts on a line of its own";
}

}  // namespace
}  // namespace treld::testing
