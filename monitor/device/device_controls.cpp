#include "device/device_controls.h"

#include "device/control_cycle.h"
#include "device/login.h"
#include "device/option_editor.h"
#include "device/option_table.h"
#include "foundation/main_window.h"

namespace treld {
namespace {

struct Explanation {
    const char* label;
    const char* text;
};

// The explanation beside each command button; the sound pair has the sound
// state Label36 instead, which the status decoding keeps.
constexpr Explanation kExplanations[] = {
    {"Label29", "XFER the load to source 1 input manually"},
    {"Label31", "XFER the load to source 2 input manually"},
    {"Label33", "XFER to alternate and retransfer to preferred"},
    {"Label34", "SHUTDOWN the output voltage"},
    {"Label35", "Restore the output voltage"},
};

void declareOptionsTab(DisplayModel& ui) {
    for (const OptionSpec& option : kOptionTable) {
        const int n = option.number;
        ui.declare(Form::Form1, arrayElement("Label5", n),
                   {.caption = std::string(option.caption)});
        ui.declare(Form::Form1, arrayElement("Label32", n));
        if (option.kind == OptionKind::Choice) {
            ui.declare(Form::Form1, arrayElement("Combo1", n));
        } else {
            ui.declare(Form::Form1, arrayElement("Label30", n));
            ui.declare(Form::Form1, arrayElement("UpDown1", n));
        }
    }
    ui.declare(Form::Form1, "Command1", {.caption = "Update STS"});
}

void declareControlTab(DisplayModel& ui) {
    for (std::size_t i = 0; i < kOperatorCommands.size(); ++i) {
        ui.declare(Form::Form1, arrayElement("Command2", static_cast<int>(i)),
                   {.caption = std::string(kOperatorCommands[i].caption)});
    }
    for (const Explanation& explanation : kExplanations)
        ui.declare(Form::Form1, explanation.label, {.caption = explanation.text});
}

void declareLoginDialog(DisplayModel& ui) {
    ui.declare(Form::Form3, "Form3", {.visible = false});
    ui.declare(Form::Form3, "Label1", {.caption = "Password"});
    ui.declare(Form::Form3, "Text1");
    ui.declare(Form::Form3, "Label2");
    ui.declare(Form::Form3, "Command1", {.caption = "Logon"});
    ui.declare(Form::Form3, "Command2", {.caption = "Cancel"});
}

void declareAboutWindow(DisplayModel& ui) {
    ui.declare(Form::Form5, "Form5", {.caption = "About program", .visible = false});
    ui.declare(Form::Form5, "Label1");
    ui.declare(Form::Form5, "Command1", {.caption = "OK"});
}

void showAboutWindow(Core& c) {
    c.ui(Form::Form5, "Label1").setCaption(std::string(kProgramTitle) + " " + c.s.ProgramVersion);
    c.ui(Form::Form5, "Form5").activate();
}

bool onMainWindowEvent(Core& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Click) {
        if (e.array == "Command2" && e.index >= 0) {
            onOperatorCommandClick(c, e.index);
        } else if (e.array == "Command1") {
            updateSts(c);
        } else if (e.array == "mnlogon") {
            showLoginDialog(c, kServiceLogin);
        } else if (e.array == "mnuselogon") {
            showLoginDialog(c, kUserLogin);
        } else if (e.array == "mnout") {
            logout(c);
        } else if (e.array == "mnab" || e.array == "mnabo") {
            showAboutWindow(c);
        } else {
            return false;
        }
        return true;
    }
    // Choice options have a selector, the numeric ones a number field.
    const bool option = e.index >= 0 && e.index < kOptionCount;
    const bool choice = option && kOptionTable[e.index].kind == OptionKind::Choice;
    if (e.kind == Kind::Select && e.array == "Combo1" && choice) {
        const Element& selector = c.form1(arrayElement("Combo1", e.index));
        if (e.number >= 0 && e.number < static_cast<int>(selector.items().size())) {
            onOptionSelected(c, e.index, e.number);
            c.options.OperatorChoseValue = true;
        }
        return true;
    }
    if (e.kind == Kind::SetValue && e.array == "UpDown1" && option && !choice) {
        // The arrows only move the number field; these options are never written.
        c.form1(arrayElement("Label30", e.index)).setCaption(std::to_string(e.number));
        return true;
    }
    return false;
}

bool onLoginDialogEvent(Core& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Click && e.array == "Command1") {
        onLogonClick(c);
    } else if (e.kind == Kind::Close || (e.kind == Kind::Click && e.array == "Command2")) {
        closeLoginDialog(c);
    } else {
        return e.kind == Kind::EditText && e.array == "Text1";
    }
    return true;
}

bool onAboutWindowEvent(Core& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Close || (e.kind == Kind::Click && e.array == "Command1")) {
        c.ui(Form::Form5, "Form5").setVisible(false);
        return true;
    }
    return false;
}

}  // namespace

std::string arrayElement(std::string_view array, int index) {
    return std::string(array) + "_" + std::to_string(index);
}

void declareDeviceElements(DisplayModel& ui) {
    declareOptionsTab(ui);
    declareControlTab(ui);
    declareLoginDialog(ui);
    declareAboutWindow(ui);
}

bool onDeviceEvent(Core& c, const OperatorEvent& event) {
    switch (event.form) {
        case Form::Form1:
            return onMainWindowEvent(c, event);
        case Form::Form3:
            return onLoginDialogEvent(c, event);
        case Form::Form5:
            return onAboutWindowEvent(c, event);
        default:
            return false;
    }
}

}  // namespace treld
