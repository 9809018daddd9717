// The Trends window and files against the simulated STS: a sag, a black-out
// and a silent spell on source 1, read back from the CSV file and the charts.
#include <gtest/gtest.h>

#include <QAction>
#include <QDate>
#include <QLineSeries>
#include <sstream>

#include "station_rig.h"
#include "windows/trends_window.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream cellStream(line.substr(0, line.find('\r')));
        for (std::string cell; std::getline(cellStream, cell, ',');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

TEST(Trends, SagBlackOutAndSilenceShowInTheDailyFileAndTheCharts) {
    ProgramDir scenarioDir;
    scenarioDir.write("night.scn",
                      "4s source1 voltage-bad\n16s source1 blackout\n28s source1 restore\n"
                      "40s silent on\n");
    // A generous reply time-out: only the silent spell may count as lost.
    StationRig rig({"--scenario", (scenarioDir.path() / "night.scn").string()},
                   "COMPORT:1\r\nTIMEOUT:2000\r\n");
    rig.form1->findChild<QAction*>("mntrends")->trigger();
    ASSERT_TRUE(rig.windows[5]->isVisible());

    const std::string file =
        "TRENDS/" + QDate::currentDate().toString(Qt::ISODate).toStdString() + ".csv";
    // Each spell lasts 12 s, so a row every 10 s sees it.
    std::vector<std::string> seen;
    ASSERT_TRUE(rig.waitFor(
        [&] {
            seen.clear();
            for (const auto& row : csvRows(rig.dir.read(file))) {
                if (row.size() < 2 || row[0] == "Time")
                    continue;
                const std::string& s1 = row[1];
                const char* kind = s1.empty()            ? "lost"
                                   : s1 == "0"           ? "black-out"
                                   : std::stoi(s1) < 200 ? "sag"
                                                         : "normal";
                if (seen.empty() ? kind != std::string("lost") : seen.back() != kind)
                    seen.push_back(kind);
            }
            return !seen.empty() && seen.back() == "lost";
        },
        75s));
    EXPECT_EQ(seen, (std::vector<std::string>{"normal", "sag", "black-out", "normal", "lost"}));
    const auto rows = csvRows(rig.dir.read(file));
    EXPECT_EQ(rows[0].size(), 17u);
    EXPECT_EQ(rows[0][8], "S2 frequency (Hz)");

    auto* charts = rig.windows[5]->findChild<TrendCharts*>("TrendCharts");
    ASSERT_TRUE(rig.waitFor([&] { return !charts->gapBands(2)->path().isEmpty(); }, 20s))
        << "the output chart shows the silent spell too";
    const auto points = static_cast<QLineSeries*>(charts->chart(0)->series()[0])->points();
    ASSERT_GT(points.size(), 20);
    auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                           [](auto& a, auto& b) { return a.y() < b.y(); });
    EXPECT_EQ(low->y(), 0) << "the black-out";
    EXPECT_GE(high->y(), 226);
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](auto& p) {
        return p.y() > 170 && p.y() < 200;
    })) << "the sag";
    EXPECT_FALSE(charts->gapBands(0)->path().isEmpty()) << "the silent device";
    EXPECT_TRUE(charts->valuesAt(std::int64_t(low->x() / 1000)).contains("S1 L1 (V) 0   S1 L2"));
}

}  // namespace
}  // namespace treld::e2e
