#include "conductor/monitor.h"

#include <charconv>

#include "conductor/poll_tick.h"
#include "device/device_controls.h"
#include "device/login.h"
#include "device/option_editor.h"
#include "foundation/main_window.h"
#include "link/demo_table.h"
#include "link/measurements.h"
#include "link/relay_server.h"
#include "link/remote_client.h"
#include "link/serial_link.h"
#include "link/station_list.h"
#include "records/pc_log.h"
#include "records/records_controls.h"
#include "status/status_controls.h"

namespace treld {
namespace {

// "Command2_4" is element 4 of the control array Command2.
struct ControlName {
    std::string_view array;
    int index = -1;
};

ControlName splitControlName(std::string_view control) {
    const std::size_t underscore = control.rfind('_');
    if (underscore == std::string_view::npos)
        return {control};
    int index = -1;
    const char* first = control.data() + underscore + 1;
    const char* last = control.data() + control.size();
    if (std::from_chars(first, last, index).ptr != last)
        return {control};
    return {control.substr(0, underscore), index};
}

// The main window's own controls: tabs, Synchronize, exit.
bool onLinkEvent(Core& c, const OperatorEvent& event) {
    if (event.form != Form::Form1)
        return false;
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Close || (event.kind == Kind::Click && event.array == "mnexit")) {
        c.platform.exitProgram();
        return true;
    }
    if (event.kind == Kind::Click && event.array == "Command3") {
        c.s.PollStep = kSetClockStep;
        return true;
    }
    if (event.kind == Kind::Select && event.array == "SSTab1") {
        const std::string page = "SSTab1_" + std::to_string(event.number);
        if (c.ui.has(Form::Form1, page) && c.form1(page).enabled()) {
            c.form1("SSTab1").setListIndex(event.number);
        }
        return true;
    }
    return false;
}

}  // namespace

Monitor::Monitor(Platform& platform, std::filesystem::path programDir)
    : core_(platform, std::move(programDir)) {
    declareMainWindowElements(core_.ui);
    declareMeasurementElements(core_.ui);
    declareStatusElements(core_.ui);
    declareDeviceElements(core_.ui);
    declareRecordsElements(core_.ui);
    declareStationListElements(core_.ui);
    declareDemoSetElements(core_.ui);
}

void Monitor::start() {
    Core& c = core_;
    c.config.RemotePort = 1118;
    c.s.ProgramVersion = "1.1";
    c.form1("Form1").setCaption(std::string(kProgramTitle) + " (Local)");
    LoadDemoTable(c);
    ReadConfig(c.programDir / "sts.cfg", c.config);
    ekranla(c);
    OpenComPort(c);
    c.platform.startTimer(TimerId::Timer1, 50);
    c.s.PollStep = 1;
    c.s.Command = "SRV";
    c.platform.startTimer(TimerId::Timer2, 20000);
    c.form1("SSTab1_2").setEnabled(false);
    c.s.PcLogEventCode = 1;
    c.s.PcLogEventText = "Program start";
    WritePcLog(c);
    STSLIST(c);
    startRelayServer(c);
}

void Monitor::onTimer(TimerId timer) {
    switch (timer) {
        case TimerId::Timer1:
            Timer1_Timer(core_);
            break;
        case TimerId::Timer2:
            Timer2_Timer(core_);
            break;
        case TimerId::Timer3:
            Timer3_Timer(core_);
            break;
        case TimerId::LoginTimer:
            LoginTimer_Timer(core_);
            break;
        case TimerId::RelayTimer:
            RelayTimer_Timer(core_);
            break;
        case TimerId::FleetTimer:
            if (fleet_)
                fleet_->onTick();
            break;
    }
}

Fleet& Monitor::startFleet(FleetSettings settings, std::string hostName, BrokerLink* broker) {
    fleet_ = std::make_unique<Fleet>(core_, std::move(settings), std::move(hostName), broker);
    return *fleet_;
}

void Monitor::onSerialData(std::string_view chunk) {
    onSerialReceive(core_, chunk);
}

void Monitor::onRemoteConnected() {
    treld::onRemoteConnected(core_);
}
void Monitor::onRemoteData(std::string_view chunk) {
    treld::onRemoteData(core_, chunk);
}
void Monitor::onRemoteError() {
    treld::onRemoteError(core_);
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

void Monitor::dispatch(OperatorEvent event) {
    const ControlName name = splitControlName(event.array);
    event.array = name.array;
    event.index = name.index;
    if (onLinkEvent(core_, event))
        return;
    if (onStationListEvent(core_, event))
        return;
    if (onStatusEvent(core_, event))
        return;
    if (onDeviceEvent(core_, event))
        return;
    if (onRecordsEvent(core_, event))
        return;
    // A secondary window without its own closing rule just hides.
    if (event.kind == OperatorEvent::Kind::Close)
        core_.ui(event.form, event.array).setVisible(false);
}

}  // namespace treld
