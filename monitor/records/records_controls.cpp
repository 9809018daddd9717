#include "records/records_controls.h"

#include "records/pc_log.h"
#include "records/settings_dialog.h"
#include "records/sts_log.h"

namespace treld {
namespace {

bool onMainWindowEvent(Core& c, const OperatorEvent& event) {
    if (event.kind != OperatorEvent::Kind::Click)
        return false;
    if (event.array == "mnset") {
        mnset_Click(c);
    } else if (event.array == "mncal" || event.array == "Command4") {
        startCalendar(c);
    } else if (event.array == "Command20") {
        Command20_Click(c);
    } else {
        return false;
    }
    return true;
}

// Form2: Command1 "Save", Command2 "e-mail test", Command3 "Cancel".
bool onSettingsEvent(Core& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Click && event.array == "Command1") {
        Form2_Save(c);
    } else if (event.kind == Kind::Click && event.array == "Command2") {
        Form2_MailTest(c);
    } else if (event.kind == Kind::Click && event.array == "Command3") {
        Form2_Cancel(c);
    } else if (event.kind == Kind::Select && event.array == "Combo1") {
        Combo1_Select(c, event.number);
    } else if (event.kind == Kind::EditText && event.array == "Combo1") {
        Combo1_EditText(c, event.text);
    } else {
        // Typed text and ticks are already in the model; Save reads them.
        return event.kind == Kind::EditText || event.kind == Kind::SetValue;
    }
    return true;
}

}  // namespace

void declareRecordsElements(DisplayModel& ui) {
    ui.declare(Form::Form1, "Label54", {.caption = "STS Log records"});
    ui.declare(Form::Form1, "List1");
    ui.declare(Form::Form1, "Command20", {.caption = "Refresh STS Logs"});
    ui.declare(Form::Form1, "Command4", {.caption = "PC Logs"});
    declareSettingsElements(ui);
}

bool onRecordsEvent(Core& c, const OperatorEvent& event) {
    if (event.form == Form::Form1)
        return onMainWindowEvent(c, event);
    if (event.form == Form::Form2)
        return onSettingsEvent(c, event);
    return false;
}

}  // namespace treld
