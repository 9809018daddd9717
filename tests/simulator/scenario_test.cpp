#include "scenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include "device.h"

namespace sts {
namespace {

std::optional<Scenario> parse(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return parseScenario(in, error);
}

TEST(Scenario, ReadsEveryKindOfStepAndPlaysThemOnTimeAndRepeats) {
    std::string error;
    auto scenario = parse(
        "# demo\n"
        "\n"
        "500ms source1 blackout\n"
        "1s source2 frequency-bad   # comment after a step\n"
        "2s source1 restore\n"
        "3s source2 input off\n"
        "3s source1 bypass on\n"
        "3s output-switch off\n"
        "4s overtemp off\n"
        "5s no-cr off\n"
        "6s chunks 3\n"
        "6s delay 250\n"
        "7s repeat\n",
        error);
    ASSERT_TRUE(scenario) << error;
    const auto& steps = scenario->steps;
    ASSERT_EQ(steps.size(), 11u);
    EXPECT_TRUE(steps[3].condition == Condition::InputSwitchOff && steps[3].source == 1);
    EXPECT_TRUE(steps[3].on && steps[5].on && !steps[7].on);  // "output-switch off" sets a fault
    EXPECT_EQ(steps[9].number, 250);

    Device device(DeviceSetup{}, 0);
    LinkFaults faults;
    ScenarioPlayer player(std::move(*scenario), 0);
    auto source1At = [&](Millis now) {  // source 1's first voltage after playing up to `now`
        player.run(now, device.plant(), faults);
        return device.handle("SRV", now)->substr(1, 3);
    };
    EXPECT_NE(source1At(499), "000");
    EXPECT_EQ(source1At(500), "000");
    EXPECT_EQ(device.plant().feedingSource(), 1);
    EXPECT_NE(source1At(2000), "000");
    EXPECT_NE(source1At(7499), "000");
    EXPECT_EQ(faults.chunks, 3);
    EXPECT_EQ(source1At(7500), "000");  // second round: black-out again
}

TEST(ScenarioParse, BrokenLinesAreNamed) {
    const std::pair<std::string, const char*> cases[] = {
        {"10 source1 blackout", "line 1: bad time"},
        {"1s\n", "line 1: missing subject"},
        {"1s source3 blackout", "line 1: unknown subject 'source3'"},
        {"1s source1 melt", "line 1: expected blackout"},
        {"1s source1 input maybe", "line 1: expected on or off"},
        {"1s chunks 0", "line 1: expected a number of pieces"},
        {"1s delay 70000", "line 1: expected milliseconds"},
        {"# ok\n5s overload on\n2s overload off", "line 3: time goes backwards"},
        {"5s repeat\n6s overload on", "line 2: nothing may follow repeat"},
        {"500ms repeat", "line 1: repeat needs a time of at least 1s"},
        {"1s overload on now", "line 1: too many words"},
        {"1s overload on\n#" + std::string(100'000, '#'), "line 2: line too long"},
    };
    for (const auto& [given, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parse(given, error)) << given.substr(0, 40);
        EXPECT_EQ(error.rfind(expected, 0), 0u) << given.substr(0, 40) << " -> " << error;
    }
}

}  // namespace
}  // namespace sts
