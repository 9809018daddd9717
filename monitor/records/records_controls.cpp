#include "records/records_controls.h"

#include "records/mail_test.h"
#include "records/settings_dialog.h"
#include "records/sts_log.h"

namespace treld {
namespace {

bool onMainWindowEvent(RecordsCore& c, const OperatorEvent& event) {
    if (event.kind != OperatorEvent::Kind::Click)
        return false;
    if (event.is(kSettingsMenu)) {
        showSettingsDialog(c);
    } else if (event.is(kCalendarMenu) || event.is(kPcLogs)) {
        // Without waiting; a failure to start it is not reported.
        c.platform.startProgram((c.programDir / "kirnal").string(), "");
    } else if (event.is(kRefreshStsLogs)) {
        refreshStsLogs(c);
    } else {
        return false;
    }
    return true;
}

bool onSettingsEvent(RecordsCore& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Click && event.is(kSaveSettings)) {
        saveSettings(c);
    } else if (event.kind == Kind::Click && event.is(kMailTest)) {
        sendTestMail(c);
    } else if (event.kind == Kind::Click && event.is(kCancelSettings)) {
        closeSettingsDialog(c);
    } else if (event.kind == Kind::Select && event.is(kPortChoice)) {
        choosePortEntry(c, event.number);
    } else if (event.kind == Kind::EditText && event.is(kPortChoice)) {
        matchTypedPort(c, event.text);
    } else {
        // Typed text and ticks are already in the model; Save reads them.
        return event.kind == Kind::EditText || event.kind == Kind::SetValue;
    }
    return true;
}

}  // namespace

void declareRecordsElements(DisplayModel& ui) {
    ui.declare(kStsLogTitle, {.caption = "STS Log records"});
    ui.declare(kStsLogList);
    ui.declare(kStsLogProgress);
    ui.declare(kRefreshStsLogs, {.caption = "Refresh STS Logs"});
    ui.declare(kPcLogs, {.caption = "PC Logs"});
    declareSettingsElements(ui);
}

bool onRecordsEvent(RecordsCore& c, const OperatorEvent& event) {
    if (event.form == Form::Form1)
        return onMainWindowEvent(c, event);
    if (event.form == Form::Form2)
        return onSettingsEvent(c, event);
    return false;
}

}  // namespace treld
