#include "status/status_controls.h"

#include "status/alarm_lamps.h"
#include "status/schematic.h"

namespace treld {

void declareStatusElements(DisplayModel& ui) {
    for (ElementName field : {kSource1Fault, kSource2Fault, kOutputFault})
        ui.declare(field, {.backColour = kButtonFace});
    ui.declare(kSource1Panel, {.caption = "Source1"});
    ui.declare(kSource2Panel, {.caption = "Source2"});
    ui.declare(kOutputPanel, {.caption = "Output"});
    ui.declare(kSoundState);
    declareSchematicElements(ui);
    declareAlarmWindow(ui);
}

bool onStatusEvent(StatusCore& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Click && event.is(kAlarmsMenu)) {
        c.ui(kAlarmsWindow).activate();
        return true;
    }
    if (event.form == Form::Form4 && event.kind == Kind::Close) {
        closeAlarmWindow(c);
        return true;
    }
    return false;
}

}  // namespace treld
