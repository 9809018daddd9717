#include "link/monitor.h"

#include <charconv>

#include "link/main_window.h"
#include "link/measurements.h"
#include "link/poll_cycle.h"
#include "link/relay_server.h"
#include "link/remote_client.h"
#include "link/serial_link.h"

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

void synchronize(Core& c) {
    c.s.PollStep = kSetClockStep;
}

}  // namespace

Monitor::Monitor(Platform& platform, std::filesystem::path programDir)
    : core_(platform, std::move(programDir)) {
    declareMainWindowElements(core_.ui);
    declareMeasurementElements(core_.ui);
}

void Monitor::start() {
    Core& c = core_;
    c.config.RemotePort = 1118;
    c.s.ProgramVersion = "1.1";
    c.form1("Form1").setCaption(std::string(kProgramTitle) + " (Local)");
    ReadConfig(c.programDir / "sts.cfg", c.config);
    OpenComPort(c);
    c.platform.startTimer(TimerId::Timer1, 50);
    c.s.PollStep = 1;
    c.s.Command = "SRV";
    c.platform.startTimer(TimerId::Timer2, 20000);
    c.form1("SSTab1_2").setEnabled(false);
    startRelayServer(c);
}

void Monitor::onTimer(TimerId timer) {
    switch (timer) {
        case TimerId::Timer1:
            Timer1_Timer(core_);
            break;
        case TimerId::Timer2:
            break;
        case TimerId::Timer3:
            Timer3_Timer(core_);
            break;
        case TimerId::LoginTimer:
            break;
    }
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
    const ControlName name = splitControlName(control);
    if (form != Form::Form1)
        return;
    if (name.array == "Command3") {
        synchronize(core_);
    } else if (name.array == "mnexit") {
        core_.platform.exitProgram();
    }
}

void Monitor::select(Form form, std::string_view control, int index) {
    if (form == Form::Form1 && control == "SSTab1") {
        const std::string page = "SSTab1_" + std::to_string(index);
        if (core_.ui.has(Form::Form1, page) && core_.form1(page).enabled()) {
            core_.form1("SSTab1").setListIndex(index);
        }
    }
}

void Monitor::editText(Form form, std::string_view control, std::string_view text) {
    core_.ui(form, control).setCaption(text);
}

void Monitor::setValue(Form form, std::string_view control, int value) {
    core_.ui(form, control).setValue(value);
}

void Monitor::closeWindow(Form form) {
    if (form == Form::Form1) {
        core_.platform.exitProgram();
        return;
    }
    core_.ui(form, "Form" + std::to_string(static_cast<int>(form) + 1)).setVisible(false);
}

}  // namespace treld
