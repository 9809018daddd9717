#include "records/mail_test.h"

#include "foundation/file_append.h"
#include "records/settings_dialog.h"

namespace treld {
namespace {

// The last line of the mail program's log: the reason it gives for its
// outcome.
std::string lastLogLine(const std::filesystem::path& file) {
    std::string tail = readFileTail(file, 4096);
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r'))
        tail.pop_back();
    return tail.substr(tail.find_last_of('\n') + 1);
}

std::string outcomeText(int exitCode) {
    switch (exitCode) {
        case kMailSent:
            return "e-mail test: sent.";
        case kMailNotSent:
            return "e-mail test failed: no attempt got through.";
        case kMailUnusableConfig:
            return "e-mail test failed: the saved mail settings cannot be used.";
        case kMailBadArgument:
            return "e-mail test failed: the mail program refused the message.";
        default:
            return "e-mail test failed: the mail program ended abnormally (" +
                   std::to_string(exitCode) + ").";
    }
}

}  // namespace

void sendTestMail(RecordsCore& c) {
    Element& outcome = c.ui(kMailTestOutcome);
    // The mail program reads its settings from sts.cfg, not from the dialog.
    if (mailSettingsUnsaved(c)) {
        outcome.setCaption(
            "e-mail test not sent: it uses the saved settings, and the form has changes. Save "
            "first.");
        return;
    }
    if (c.settings.mailTestRunning) {
        outcome.setCaption("e-mail test: the mail program is still sending the last one.");
        return;
    }
    c.startMailProgram(std::string(kTestMail));
    if (!c.mail.running()) {
        outcome.setCaption("e-mail test failed: " + c.mailProgramPath() + " could not be started.");
        return;
    }
    c.settings.mailTestRunning = true;
    outcome.setCaption(c.mail.runningHead() == kTestMail
                           ? "e-mail test: sending..."
                           : "e-mail test: waiting for the alarm mail being sent...");
}

void onMailTestEnded(RecordsCore& c, int exitCode) {
    if (!c.settings.mailTestRunning)
        return;
    c.settings.mailTestRunning = false;
    std::string text = outcomeText(exitCode);
    if (exitCode != kMailSent) {
        const std::string reason = lastLogLine(c.stationDir / kMailLog);
        if (!reason.empty())
            text += " " + inDialogWords(reason);
    }
    c.ui(kMailTestOutcome).setCaption(text);
}

}  // namespace treld
