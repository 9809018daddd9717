#include "scenario.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "device.h"

namespace sts {
namespace {

std::optional<Scenario> parse(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return parseScenario(in, error);
}

TEST(ScenarioParse, ReadsEveryKindOfStep) {
    std::string error;
    const auto scenario = parse(
        "# demo\n"
        "\n"
        "500ms source1 blackout\n"
        "1s source2 voltage-bad   # comment after a step\n"
        "1s source2 frequency-bad\n"
        "2s source1 restore\n"
        "3s source2 input off\n"
        "3s source1 bypass on\n"
        "3s output-switch off\n"
        "4s overload on\n"
        "4s overtemp off\n"
        "5s silent on\n"
        "5s garbage on\n"
        "5s no-cr off\n"
        "6s chunks 3\n"
        "6s delay 250\n"
        "7s repeat\n",
        error);
    ASSERT_TRUE(scenario) << error;
    ASSERT_EQ(scenario->steps.size(), 15u);
    using Kind = ScenarioStep::Kind;
    const ScenarioStep& first = scenario->steps[0];
    EXPECT_EQ(first.at, 500);
    EXPECT_EQ(first.kind, Kind::Condition);
    EXPECT_EQ(first.condition, Condition::Blackout);
    EXPECT_EQ(first.source, 0);
    EXPECT_EQ(scenario->steps[4].condition, Condition::InputSwitchOff);
    EXPECT_TRUE(scenario->steps[4].on);
    EXPECT_EQ(scenario->steps[4].source, 1);
    EXPECT_TRUE(scenario->steps[6].on);  // "output-switch off" sets the fault
    EXPECT_FALSE(scenario->steps[11].on);
    EXPECT_EQ(scenario->steps[12].number, 3);
    EXPECT_EQ(scenario->steps[13].number, 250);
    EXPECT_EQ(scenario->steps[14].kind, Kind::Repeat);
}

TEST(ScenarioParse, ShippedScenariosAreValid) {
    for (const char* name : {"demo.scn"}) {
        std::ifstream file(std::string(STS_SIM_SCENARIO_DIR) + "/" + name);
        ASSERT_TRUE(file) << name;
        std::string error;
        EXPECT_TRUE(parseScenario(file, error)) << name << ": " << error;
    }
}

TEST(ScenarioParse, BrokenLinesAreNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"10 source1 blackout", "line 1: bad time"},
        {"10h source1 blackout", "line 1: bad time"},
        {"1s\n", "line 1: missing subject"},
        {"1s source3 blackout", "line 1: unknown subject 'source3'"},
        {"1s source1 melt", "line 1: expected blackout"},
        {"1s source1 input maybe", "line 1: expected on or off"},
        {"1s overload", "line 1: expected on or off"},
        {"1s chunks 0", "line 1: expected a number of pieces"},
        {"1s delay 70000", "line 1: expected milliseconds"},
        {"# ok\n5s overload on\n2s overload off", "line 3: time goes backwards"},
        {"5s repeat\n6s overload on", "line 2: nothing may follow repeat"},
        {"500ms repeat", "line 1: repeat needs a time of at least 1s"},
        {"1s overload on now", "line 1: too many words"},
        {"1s overload on\n#", "line 2: line too long"},
    };
    for (const auto& [given, expected] : cases) {
        std::string text = given;
        if (text.back() == '#') {
            text += std::string(100'000, '#');  // a comment line too long to keep
        }
        std::string error;
        EXPECT_FALSE(parse(text, error)) << given;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << given << " -> " << error;
    }
}

TEST(ScenarioPlayer, AppliesStepsOnTimeAndRepeats) {
    std::string error;
    auto scenario =
        parse("1s source1 blackout\n2s chunks 2\n3s source1 restore\n4s repeat\n", error);
    ASSERT_TRUE(scenario) << error;
    Device device(DeviceSetup{}, 0);
    LinkFaults faults;
    ScenarioPlayer player(std::move(*scenario), 0);

    player.run(999, device.plant(), faults);
    EXPECT_EQ(device.plant().feedingSource(), 0);
    player.run(1000, device.plant(), faults);
    EXPECT_EQ(device.plant().feedingSource(), 1);
    player.run(2500, device.plant(), faults);
    EXPECT_EQ(faults.chunks, 2);
    player.run(3000, device.plant(), faults);
    EXPECT_NE(device.handle("SRV", 3000)->substr(1, 3), "000");
    player.run(5000, device.plant(), faults);  // second round: black-out again
    EXPECT_EQ(device.handle("SRV", 5000)->substr(1, 3), "000");
}

}  // namespace
}  // namespace sts
