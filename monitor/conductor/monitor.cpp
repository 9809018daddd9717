#include "conductor/monitor.h"

#include "conductor/poll_tick.h"
#include "device/device_controls.h"
#include "device/login.h"
#include "device/option_editor.h"
#include "foundation/main_window.h"
#include "link/command_slot.h"
#include "link/demo_table.h"
#include "link/line.h"
#include "link/measurements.h"
#include "link/relay_server.h"
#include "link/serial_link.h"
#include "link/station_list.h"
#include "records/mail_test.h"
#include "records/records_controls.h"
#include "records/settings_dialog.h"
#include "status/alarms.h"
#include "status/link_watch.h"
#include "status/status_controls.h"

namespace treld {
namespace {

// The main window's own controls: tabs, Synchronize.
bool onLinkEvent(Core& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Click && event.is(kSynchronize)) {
        synchronize(c);
        return true;
    }
    if (event.kind == Kind::Select && event.is(kTabs)) {
        if (event.number >= 0 && event.number < kTabCount &&
            c.ui(kTabPages, event.number).enabled())
            c.ui(kTabs).setListIndex(event.number);
        return true;
    }
    return false;
}

}  // namespace

Monitor::Monitor(Platform& platform, std::filesystem::path programDir,
                 std::filesystem::path stationDir)
    : core_(platform, std::move(programDir), std::move(stationDir)) {
    declareMainWindowElements(core_.ui);
    declareMeasurementElements(core_.ui);
    declareStatusElements(core_.ui);
    declareDeviceElements(core_.ui);
    declareRecordsElements(core_.ui);
    declareStationListElements(core_.ui);
    declareDemoSetElements(core_.ui);
    declareTrendsElements(core_.ui);
    core_.pcEvents.published = [this](Int16 code, std::string_view text, const LocalDateTime& at) {
        if (fleet_)
            fleet_->onPcEvent(code, text, at);
        notifications_.onPcEvent(code, text, at);
    };
}

void Monitor::startNotifications(std::string hostName) {
    std::vector<std::string> problems;
    notifications_.configure(readNotifySettingsFile(core_.stationDir, problems),
                             std::move(hostName));
    for (const std::string& problem : problems)
        core_.statusLine.notice(problem);
}

void Monitor::testNotifications(std::string hostName, Notifications::TestDone done) {
    ReadConfig(core_.stationDir / "sts.cfg", core_.config);  // the station's name
    std::vector<std::string> problems;
    notifications_.configure(readNotifySettingsFile(core_.stationDir, problems),
                             std::move(hostName));
    for (const std::string& problem : problems)
        core_.platform.writeStderr(problem);
    notifications_.test(std::move(done));
}

void Monitor::onDelivered(int id, const DeliveryOutcome& outcome) {
    notifications_.onDelivered(id, outcome);
    if (endAtSecond_ >= 0 && !notifications_.underWay())
        core_.platform.exitProgram();
}

void Monitor::start() {
    Core& c = core_;
    c.config.RemotePort = 1118;
    c.s.ProgramVersion = TRELD_VERSION;
    c.ui(kMainWindow).setCaption(std::string(kProgramTitle) + " (Local)");
    LoadDemoTable(c);
    removeLeftoverTemporaries(c.stationDir / "sts.cfg");
    for (const std::string& text : ReadConfig(c.stationDir / "sts.cfg", c.config))
        c.statusLine.notice(text);
    ekranla(c);
    c.line.openPort(c);
    showLinkKind(c);
    startPolling(c);
    c.platform.startTimer(TimerId::Timer2, kKeepAliveMs);
    c.ui(kTabPages, kDemoSetTab).setEnabled(false);
    c.recovery.monitorStarting(c);
    c.pcEvents.WritePcLog(1, "Program start");
    STSLIST(c);
    startRelayServer(c);
    startTrends(c, trends_);
    settle();
}

void Monitor::stop() {
    Core& c = core_;
    if (stopped_)
        return;
    if (!ending_) {
        ending_ = true;
        LogoutStep logout = startLogoutAtEnd(c);
        loggingOut_ = logout.state;
        applyPollNext(c, std::move(logout.next));
        applyPollWait(c);
        if (loggingOut_ != LogoutAtEnd::None)
            return;
    }
    stopped_ = true;
    c.pcEvents.WritePcLog(2, "Program end");
    // Alarms that wait for the running mail program, or were kept from a
    // failed run, are not lost with the monitor: each message gets a program
    // of its own.
    c.mail.releaseKept();
    while (const std::optional<std::string> argument = c.mail.takeNext())
        c.platform.startProgram(c.mailProgramPath(), *argument);
    if (!notifications_.underWay()) {
        c.platform.exitProgram();
        return;
    }
    endAtSecond_ = c.platform.now().epochSeconds + kEndWaitMs / 1000;
}

void Monitor::rereadOptionalFiles() {
    Core& c = core_;
    const std::string listening = c.relay.access.listenAddress;
    c.relay.access = readRelayAccess(c.stationDir / "relay.cfg");
    std::string text = "SIGHUP: relay.cfg and mqtt.cfg read again";
    if (const std::string problem = c.relay.access.problem(); !problem.empty())
        text += "; " + problem;
    if (c.relay.access.listenAddress != listening)
        text += "; relay.cfg LISTEN: takes effect at the next start";
    c.statusLine.notice(text + "; sts.cfg is read at start only");
}

void Monitor::onMailProgramEnded(int exitCode) {
    const bool testEnded = core_.mail.runningHead() == kTestMail;
    core_.mailProgramEnded(exitCode);  // the next waiting mail starts
    if (testEnded)
        onMailTestEnded(core_, exitCode);
    else if (exitCode != kMailSent)
        core_.statusLine.say(Said::AlarmMailFailed);
}

void Monitor::onTimer(TimerId timer) {
    if (endAtSecond_ >= 0) {  // only the notifications go on now
        if (timer == TimerId::TrendTimer && core_.platform.now().epochSeconds >= endAtSecond_)
            core_.platform.exitProgram();
        return;
    }
    if (loggingOut_ != LogoutAtEnd::None) {  // only the logout goes on now
        if (timer == TimerId::Timer1) {
            LogoutStep logout = advanceLogoutAtEnd(core_, loggingOut_);
            loggingOut_ = logout.state;
            applyPollNext(core_, std::move(logout.next));
            applyPollWait(core_);
            if (loggingOut_ == LogoutAtEnd::None)
                stop();
        }
        return;
    }
    switch (timer) {
        case TimerId::Timer1:
            Timer1_Timer(core_);
            takeReadings(core_, trends_);
            break;
        case TimerId::Timer2:
            keepLoginAlive(core_);
            break;
        case TimerId::Timer3:
            clearDeviceMessage(core_);
            break;
        case TimerId::LoginTimer:
            applyPollNext(core_, advanceLoginSequence(core_));
            break;
        case TimerId::RelayTimer:
            onRelayTimer(core_);
            break;
        case TimerId::TrendTimer:
            trendTick(core_, trends_);
            core_.pcEvents.retryKept();
            notifications_.tick();
            break;
        case TimerId::FleetTimer:
            if (fleet_)
                fleet_->onTick();
            break;
        case TimerId::ReopenTimer:
            onReopenTimer(core_);
            break;
    }
    settle();
}

Fleet& Monitor::startFleet(FleetSettings settings, std::string hostName, BrokerLink* broker) {
    fleet_.reset();  // the one before goes first, with its broker
    fleet_ = std::make_unique<Fleet>(core_, std::move(settings), std::move(hostName), broker,
                                     notifications_);
    return *fleet_;
}

void Monitor::settle() {
    applyPollWait(core_);
    watchLink(core_);
}

void Monitor::onSerialData(std::string_view chunk) {
    core_.line.feedSerial(core_, chunk);
    settle();
}

void Monitor::onSerialLost() {
    if (core_.line.portOpen())
        core_.line.portFailed(core_);
    settle();
}

void Monitor::onRemoteConnected() {
    core_.line.remoteConnected(core_);
}
void Monitor::onRemoteData(std::string_view chunk) {
    core_.line.feedRemote(core_, chunk);
    settle();
}
void Monitor::onRemoteError() {
    core_.platform.closeRemote();
}

void Monitor::onRelayConnectionRequest() {
    treld::onRelayConnectionRequest(core_);
}
void Monitor::onRelayData(int slot, std::string_view data) {
    treld::onRelayData(core_, slot, data);
}
void Monitor::onRelaySendComplete(int slot) {
    treld::onRelaySendComplete(core_, slot);
}
void Monitor::onRelayClosed(int slot) {
    treld::onRelayClosed(core_, slot);
}

void Monitor::click(Form form, std::string_view control) {
    dispatch({OperatorEvent::Kind::Click, form, control});
}

void Monitor::select(Form form, std::string_view control, int index) {
    dispatch({OperatorEvent::Kind::Select, form, control, -1, index});
}

void Monitor::editText(Form form, std::string_view control, std::string_view text) {
    // The model holds what the operator typed; the subsystem may act on it.
    core_.ui(form, control).setCaption(text);
    dispatch({OperatorEvent::Kind::EditText, form, control, -1, 0, text});
}

void Monitor::setValue(Form form, std::string_view control, int value) {
    core_.ui(form, control).setValue(value);
    dispatch({OperatorEvent::Kind::SetValue, form, control, -1, value});
}

void Monitor::closeWindow(Form form) {
    const std::string name = "Form" + std::to_string(static_cast<int>(form) + 1);
    dispatch({OperatorEvent::Kind::Close, form, name});
}

void Monitor::answer(Form form, std::string_view question, bool yes) {
    dispatch({OperatorEvent::Kind::Answer, form, question, -1, yes ? 1 : 0});
}

void Monitor::dispatch(OperatorEvent event) {
    if (event.kind != OperatorEvent::Kind::Answer) {
        const SplitName name = splitElementName(event.array);
        event.array = name.array;
        event.index = name.index;
    }
    if ((event.kind == OperatorEvent::Kind::Close && event.form == Form::Form1) ||
        (event.kind == OperatorEvent::Kind::Click && event.is(kExitMenu))) {
        stop();
        return;
    }
    if (loggingOut_ != LogoutAtEnd::None)
        return;
    if (!onLinkEvent(core_, event) && !onStationListEvent(core_, event) &&
        !onStatusEvent(core_, event) && !onDeviceEvent(core_, event) &&
        !onRecordsEvent(core_, event) && !onTrendsEvent(core_, trends_, event) &&
        event.kind == OperatorEvent::Kind::Close) {
        // A secondary window without its own closing rule just hides.
        core_.ui(event.form, event.array).setVisible(false);
    }
    settle();  // Settings may have chosen another port, and asked for a wait
}

}  // namespace treld
