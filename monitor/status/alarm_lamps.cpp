#include "status/alarm_lamps.h"

#include "status/status_record.h"

namespace treld {
namespace {

constexpr std::uint32_t kLightGrey = 0x00C0C0C0;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

}  // namespace

void declareAlarmWindow(DisplayModel& ui) {
    ui.declare(kAlarmsWindow,
               {.caption = "STS Alarms", .visible = false, .backColour = kLightGrey});
    const auto& lamps = lampsInOrder();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        ui.declare(kRedLamps, lamps[k]->lamp);
        ui.declare(kGreenLamps, lamps[k]->lamp);
        ui.declare(kLampCaptions, static_cast<int>(k),
                   {.caption = std::string(lamps[k]->lampCaption), .backColour = kWhite});
    }
}

bool alarmWindowShown(StatusCore& c) {
    return c.ui(kAlarmsWindow).visible();
}

void SetLamp(StatusCore& c, int lamp, Int16 flag) {
    c.ui(kGreenLamps, lamp).setVisible(flag == 0);
}

void refreshAlarmLamps(StatusCore& c) {
    for (const FlagPosition* flag : lampsInOrder())
        SetLamp(c, flag->lamp, c.status.StatusFlags[flag->lamp]);
}

void closeAlarmWindow(StatusCore& c) {
    c.ui(kAlarmsWindow).setVisible(false);
    for (const FlagPosition* flag : lampsInOrder())
        c.ui(kGreenLamps, flag->lamp).setVisible(true);
}

}  // namespace treld
