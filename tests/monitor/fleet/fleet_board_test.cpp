// The fleet board fed message by message: what each tile shows, the order of
// the tiles, and what a malformed or hostile message leaves (nothing but a note).
#include <gtest/gtest.h>

#include "fleet/fleet_board.h"

namespace treld::testing {
namespace {

std::string summary(const FleetBoard& board, const std::string& prefix) {
    const auto found = board.tiles().find(prefix);
    if (found == board.tiles().end())
        return "-";
    const Tile& t = found->second;
    const char* states[] = {"red", "nolink", "offline", "unknown", "green"};
    return t.name + " " + states[int(t.state())] + " " + t.link + "|" + t.feed + "|" +
           t.worstAlarm + "|" + std::to_string(t.alarms) + "|" +
           (t.event
                ? std::to_string(t.event->code) + t.event->text + "@" + std::to_string(t.event->at)
                : "") +
           "|" + std::to_string(t.since) + (t.sinceKnown ? "" : "?") + "|" + t.page;
}

std::string status(const std::string& fields) {
    return R"({"link":{"kind":"serial","peer":"COM1","up":true},)" + fields + "}";
}

TEST(FleetBoard, TilesFollowOnlineStatusEventAndWillAndMalformedMessagesChangeNothing) {
    struct Step {
        const char* topic;
        std::string payload;
        const char* tile;  // the summary of the topic's station afterwards
        const char* note = "";
    };
    const std::string blackout = status(
        R"("station":"Alpha","page":"http://10.0.0.5:8080/","transfer":{"source":2},)"
        R"("alarms":{"s1_blackout":true,"source2_bad":true,"overload":false,"new_lamp":true})");
    const Step steps[] = {
        {"sts/a/online", "online", "a unknown |||0||50?|"},
        {"sts/a/status", blackout,
         "Alpha red serial COM1|Source 2|Source2 BAD|3||50?|http://10.0.0.5:8080/"},
        {"sts/a/event", R"({"code":100,"time":"2026-12-07T00:34:16+01:00","text":"-S1 Black out"})",
         "Alpha red serial COM1|Source 2|Source2 BAD|3|100-S1 Black "
         "out@1796600056|50?|http://10.0.0.5:8080/"},
        {"sts/a/online", "offline",
         "Alpha offline serial COM1|Source 2|Source2 BAD|3|100-S1 Black "
         "out@1796600056|300|http://10.0.0.5:8080/"},
        // Each of these is refused whole: the tile stays as it was.
        {"sts/a/status", "{", "=", "sts/a/status: not JSON"},
        {"sts/a/status", "{\"link\":{\"up\":true}}x", "=", "not JSON"},
        {"sts/a/status", std::string(40, '[') + std::string(40, ']'), "=", "not JSON"},
        {"sts/a/status", R"({"link":{"up":"yes"},"alarms":{}})", "=", "not a station's status"},
        {"sts/a/status", R"({"station":"\ud800","link":{"up":true}})", "=", "not JSON"},
        {"sts/a/status", status(R"("n":01)"), "=", "not JSON"},
        {"sts/a/status", status(R"("n":1.)"), "=", "not JSON"},
        {"sts/a/event", R"({"code":"100","text":"x"})", "=", "not a station's event"},
        {"sts/a/online", "maybe", "=", "neither online nor offline"},
        {"sts/a/status", std::string(kBoardPayloadBytes + 1, ' '), "=", "longer than 16 KiB"},
        {"nolevels", "online", "-", "nolevels: not a station's topic"},
        // Output off beats every other alarm; an unreadable event time is its arrival.
        {"sts/b/status",
         status(R"("transfer":{"source":1},"alarms":{"overload":true,"output_sw_off":true},)"
                R"x("page":"javascript:alert(1)")x"),
         "b red serial COM1|Output off|Output SW off|2||0?|"},
        {"sts/b/event", R"({"code":1,"time":"yesterday","text":"Program start"})",
         "b red serial COM1|Output off|Output SW off|2|1Program start@1600|0?|"},
        {"sts/c/status",
         R"({"station":"C\u00e9\ud83d\ude00","link":{"kind":"remote","peer":"h:1118","up":false}})",
         "C\xC3\xA9\xF0\x9F\x98\x80 nolink remote h:1118|||0||0?|"},
        {"sts/d/status", status(R"("transfer":{"source":1},"alarms":{"overload":false})"),
         "d green serial COM1|Source 1||0||0?|"},
        {"sts/c/online", "", "-"},  // a cleared retained topic: the station is gone
    };
    FleetBoard board;
    std::string before;
    std::int64_t now = 50;
    for (const Step& step : steps) {
        const std::string topic = step.topic;
        const std::string prefix = topic.substr(0, topic.rfind('/'));
        board.receive(topic, step.payload, now == 50, now);
        const std::string after = summary(board, prefix);
        EXPECT_EQ(after, std::string(step.tile) == "=" ? before : step.tile)
            << topic << " " << step.payload.substr(0, 80);
        EXPECT_NE(board.json(now).find(step.note), std::string::npos) << step.note;
        before = after;
        now = now == 50 ? 100 : now + 100;
    }
    const std::string json = board.json(2000);
    for (const char* order : {R"("key":"sts/b")", R"("key":"sts/a")", R"("key":"sts/d")"})
        EXPECT_LT(json.find(order), json.size()) << order << " in " << json;
    EXPECT_LT(json.find(R"("key":"sts/b")"), json.find(R"("key":"sts/a")"));
    EXPECT_LT(json.find(R"("key":"sts/a")"), json.find(R"("key":"sts/d")"));
    EXPECT_TRUE(
        json.starts_with(R"({"now":2000,"connected":false,"note":"11 messages not understood)"))
        << json;
}

TEST(FleetBoard, AFloodOfStationsStopsAtTheBoundWithANote) {
    FleetBoard board;
    for (int n = 0; n < int(kBoardStations) + 20; ++n)
        board.receive("sts/s" + std::to_string(n) + "/online", "online", true, 1);
    EXPECT_EQ(board.tiles().size(), kBoardStations);
    board.dropped(7);
    EXPECT_NE(board.json(2).find("Board full at 500 stations: 20 messages of further stations "
                                 "ignored. 7 messages dropped in a flood.\""),
              std::string::npos);
}

}  // namespace
}  // namespace treld::testing
