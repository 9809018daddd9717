#include "device/login.h"

#include <algorithm>
#include <utility>

#include "device/device_controls.h"
#include "link/command_slot.h"
#include "link/line.h"

namespace treld {
namespace {

constexpr int kLogonTickMs = 500;
constexpr int kKeepAliveRetryMs = 5000;

std::string levelLetter(Int16 kind) {
    return kind == kServiceLogin ? "P" : "U";
}

int logoutWaitMs(const DeviceCore& c) {
    return std::min(c.replyTimeoutMs(), kLogoutAtEndMs);
}

// "OUT" goes out with a bounded wait for its reply.
LogoutStep sendLogoutAtEnd(const DeviceCore& c) {
    return {LogoutAtEnd::AwaitingReply,
            {.command = "OUT", .owner = ExchangeOwner::Login, .waitMs = logoutWaitMs(c)}};
}

}  // namespace

void showLoginDialog(DeviceCore& c, Int16 kind, std::function<void(DeviceCore&)> resume) {
    Element& window = c.ui(kLoginDialog);
    // An open dialog of the same level only comes to the front; one of the
    // other level starts afresh, so that its caption names what Logon sends.
    if (!window.visible() || c.login.LoginKind != kind) {
        window.setCaption(kind == kServiceLogin ? "STS service logon" : "STS user logon");
        c.ui(kPasswordBox).setCaption("");
        c.ui(kLoginStatus).setCaption("");
    }
    c.login.LoginKind = kind;
    c.login.resumeAfterLogin = std::move(resume);
    window.activate();
}

void onLogonClick(DeviceCore& c) {
    const std::string password = c.ui(kPasswordBox).caption();
    if (password.size() != 4) {
        c.ui.showMessage(Form::Form3, std::string(kProgramTitle), "Invalid password");
        return;
    }
    clearCommandSlot(c);
    c.ui(kLoginStatus).setCaption("");
    c.login.LoginPassword = password;
    c.login.LogonKind = c.login.LoginKind;
    c.login.LogonTicks = 0;
    c.lapse.logoutAsked = false;
    c.platform.startTimer(TimerId::LoginTimer, kLogonTickMs);
}

void closeLoginDialog(DeviceCore& c) {
    c.platform.stopTimer(TimerId::LoginTimer);
    clearCommandSlot(c);
    c.login.resumeAfterLogin = nullptr;
    c.ui(kLoginDialog).setVisible(false);
}

void logout(DeviceCore& c) {
    c.lapse.logoutAsked = true;
    c.lapse.lapsedAt.clear();
    queueCommand(c, "OUT", "Logout");
}

LogoutStep startLogoutAtEnd(const DeviceCore& c) {
    if (!c.status.loggedIn() || c.line.transport().simulated || c.line.health().lost)
        return {};
    if (!c.line.exchangeOpen())
        return sendLogoutAtEnd(c);
    // A reply still due could pass for the reply to "OUT".
    return {LogoutAtEnd::AwaitingLine, {.waitMs = logoutWaitMs(c)}};
}

LogoutStep advanceLogoutAtEnd(const DeviceCore& c, LogoutAtEnd state) {
    return state == LogoutAtEnd::AwaitingLine ? sendLogoutAtEnd(c) : LogoutStep{};
}

PollNext advanceLoginSequence(DeviceCore& c) {
    auto& login = c.login;
    switch (++login.LogonTicks) {
        case 2:
            // No poll exchange may be in progress when the login goes out.
            pausePolling(c);
            break;
        case 6:
            // The exchange on the line has its reply, or its time-out, first.
            if (c.line.exchangeOpen()) {
                --login.LogonTicks;
                break;
            }
            return {.command = levelLetter(login.LogonKind) + login.LoginPassword,
                    .owner = ExchangeOwner::Login};
        case 10:
            // Polling resumes from the start, after a status read on any tab.
            clearCommandSlot(c);
            login.statusPollDue = true;
            return {.step = kFirstMeasurementStep};
        case 16:
            if (login.statusPollDue || c.line.owner() == ExchangeOwner::StatusPoll) {
                --login.LogonTicks;  // the verdict waits for that status
                break;
            }
            clearCommandSlot(c);
            // A refused service password leaves a user login standing: the
            // verdict is on the level asked for.
            if ((login.LogonKind == kServiceLogin ? c.status.ServiceLoginActive
                                                  : c.status.UserLoginActive) != 0) {
                login.acceptedKind = login.LogonKind;
                login.acceptedPassword = login.LoginPassword;
                const auto resume = std::exchange(login.resumeAfterLogin, nullptr);
                closeLoginDialog(c);
                if (resume)
                    resume(c);
            } else {
                // The keep-alive goes on repeating the login that stands.
                login.LogonKind = login.acceptedKind;
                login.LoginPassword = login.acceptedPassword;
                c.ui(kLoginStatus).setCaption("Login failed");
                c.platform.stopTimer(TimerId::LoginTimer);
            }
            break;
        default:
            break;
    }
    return {};
}

void keepLoginAlive(DeviceCore& c) {
    if (!c.status.loggedIn())
        return;
    int interval = kKeepAliveMs;
    if (!commandSlotFree(c)) {
        interval = kKeepAliveRetryMs;
    } else if (c.login.LogonKind == kServiceLogin || c.login.LogonKind == kUserLogin) {
        queueKeepAlive(c, levelLetter(c.login.LogonKind) + c.login.LoginPassword + "\r");
    }
    c.platform.startTimer(TimerId::Timer2, interval);
}

}  // namespace treld
