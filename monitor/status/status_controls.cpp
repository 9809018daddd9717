#include "status/status_controls.h"

#include "status/alarm_lamps.h"
#include "status/schematic.h"

namespace treld {

void declareStatusElements(DisplayModel& ui) {
    for (const char* field : {"Label2", "Label27", "Label28"})
        ui.declare(Form::Form1, field, {.backColour = kButtonFace});
    ui.declare(Form::Form1, "Frame1", {.caption = "Source1"});
    ui.declare(Form::Form1, "Frame2", {.caption = "Source2"});
    ui.declare(Form::Form1, "Frame3", {.caption = "Output"});
    ui.declare(Form::Form1, "Label36");
    declareSchematicElements(ui);
    declareAlarmWindow(ui);
}

bool onStatusEvent(Core& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.form == Form::Form1 && event.kind == Kind::Click && event.array == "mnalarm") {
        c.ui(Form::Form4, "Form4").activate();
        return true;
    }
    if (event.form == Form::Form4 && event.kind == Kind::Close) {
        closeAlarmWindow(c);
        return true;
    }
    return false;
}

}  // namespace treld
