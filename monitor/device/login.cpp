#include "device/login.h"

#include "foundation/main_window.h"
#include "link/command_slot.h"
#include "link/send.h"

namespace treld {
namespace {

constexpr int kLogonTickMs = 500;
constexpr int kKeepAliveRetryMs = 5000;

std::string levelLetter(Int16 kind) {
    return kind == kServiceLogin ? "P" : "U";
}

Element& dialog(Core& c, std::string_view name) {
    return c.ui(Form::Form3, name);
}

}  // namespace

void showLoginDialog(Core& c, Int16 kind) {
    c.login.LoginKind = kind;
    Element& window = dialog(c, "Form3");
    if (!window.visible()) {
        window.setCaption(kind == kServiceLogin ? "STS service logon" : "STS user logon");
        dialog(c, "Text1").setCaption("");
        dialog(c, "Label2").setCaption("");
    }
    window.activate();
}

void onLogonClick(Core& c) {
    const std::string password = dialog(c, "Text1").caption();
    if (password.size() != 4) {
        c.ui.showMessage(Form::Form3, std::string(kProgramTitle), "Invalid password");
        return;
    }
    clearCommandSlot(c);
    dialog(c, "Label2").setCaption("");
    c.login.LoginPassword = password;
    c.login.LogonTicks = 0;
    c.platform.startTimer(TimerId::LoginTimer, kLogonTickMs);
}

void closeLoginDialog(Core& c) {
    c.platform.stopTimer(TimerId::LoginTimer);
    clearCommandSlot(c);
    dialog(c, "Form3").setVisible(false);
}

void logout(Core& c) {
    queueCommand(c, "OUT");
}

void LoginTimer_Timer(Core& c) {
    auto& s = c.s;
    switch (++c.login.LogonTicks) {
        case 2:
            // No poll exchange may be in progress when the login goes out.
            pausePolling(c);
            break;
        case 6:
            s.Command = levelLetter(c.login.LoginKind) + c.login.LoginPassword;
            GONDERME(c);
            break;
        case 10:
            // Polling resumes from the start, which brings a fresh status.
            clearCommandSlot(c);
            s.PollStep = kFirstMeasurementStep;
            break;
        case 16:
            clearCommandSlot(c);
            if (c.status.loggedIn()) {
                closeLoginDialog(c);
            } else {
                dialog(c, "Label2").setCaption("Login failed");
                c.platform.stopTimer(TimerId::LoginTimer);
            }
            break;
        default:
            break;
    }
}

void Timer2_Timer(Core& c) {
    if (!c.status.loggedIn())
        return;
    int interval = kKeepAliveMs;
    if (!commandSlotFree(c)) {
        interval = kKeepAliveRetryMs;
    } else if (c.login.LoginKind == kServiceLogin || c.login.LoginKind == kUserLogin) {
        queueCommand(c, levelLetter(c.login.LoginKind) + c.login.LoginPassword + "\r");
    }
    c.platform.startTimer(TimerId::Timer2, interval);
}

}  // namespace treld
