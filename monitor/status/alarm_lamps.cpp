#include "status/alarm_lamps.h"

#include <string>

#include "status/status_record.h"

namespace treld {
namespace {

constexpr std::uint32_t kLightGrey = 0x00C0C0C0;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

Element& greenLamp(Core& c, int lamp) {
    return c.ui(Form::Form4, "Image2_" + std::to_string(lamp));
}

}  // namespace

void declareAlarmWindow(DisplayModel& ui) {
    ui.declare(Form::Form4, "Form4",
               {.caption = "STS Alarms", .visible = false, .backColour = kLightGrey});
    const auto& lamps = lampsInOrder();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        const std::string n = std::to_string(lamps[k]->lamp);
        ui.declare(Form::Form4, "Image1_" + n);
        ui.declare(Form::Form4, "Image2_" + n);
        ui.declare(Form::Form4, "Label1_" + std::to_string(k),
                   {.caption = std::string(lamps[k]->lampCaption), .backColour = kWhite});
    }
}

bool alarmWindowShown(Core& c) {
    return c.ui(Form::Form4, "Form4").visible();
}

void SetLamp(Core& c, int lamp, Int16 flag) {
    greenLamp(c, lamp).setVisible(flag == 0);
}

void refreshAlarmLamps(Core& c) {
    for (const FlagPosition* flag : lampsInOrder())
        SetLamp(c, flag->lamp, c.status.StatusFlags[flag->lamp]);
}

void closeAlarmWindow(Core& c) {
    c.ui(Form::Form4, "Form4").setVisible(false);
    for (const FlagPosition* flag : lampsInOrder())
        greenLamp(c, flag->lamp).setVisible(true);
}

}  // namespace treld
