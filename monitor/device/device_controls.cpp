#include "device/device_controls.h"

#include "device/command_question.h"
#include "device/control_cycle.h"
#include "device/login.h"
#include "device/option_editor.h"
#include "device/option_table.h"
#include "foundation/main_window.h"

namespace treld {
namespace {

struct Explanation {
    ElementName label;
    int button;  // its text is that command's explanation
};

// The explanation beside each command button; the sound pair has the sound
// state Label36 instead, which the status decoding keeps.
constexpr Explanation kExplanations[] = {
    {kXferToSource1Text, 0}, {kXferToSource2Text, 1}, {kAutomaticXferText, 3},
    {kOutputInhibitText, 4}, {kInhibitResetText, 5},
};

void declareOptionsTab(DisplayModel& ui) {
    for (const OptionSpec& option : kOptionTable) {
        const int n = option.number;
        ui.declare(kOptionCaptions, n, {.caption = std::string(option.caption)});
        ui.declare(kOptionValues, n);
        if (option.kind == OptionKind::Choice) {
            ui.declare(kOptionSelectors, n);
        } else {
            ui.declare(kOptionNumbers, n);
            ui.declare(kOptionUpDowns, n);
        }
    }
    ui.declare(kUpdateSts, {.caption = "Update STS"});
}

void declareControlTab(DisplayModel& ui) {
    for (std::size_t i = 0; i < kOperatorCommands.size(); ++i) {
        ui.declare(kCommandButtons, static_cast<int>(i),
                   {.caption = std::string(kOperatorCommands[i].caption)});
    }
    for (const Explanation& explanation : kExplanations)
        ui.declare(explanation.label,
                   {.caption = std::string(kOperatorCommands[explanation.button].explanation)});
}

void declareLoginDialog(DisplayModel& ui) {
    ui.declare(kLoginDialog, {.visible = false});
    ui.declare(kPasswordCaption, {.caption = "Password"});
    ui.declare(kPasswordBox);
    ui.declare(kLoginStatus);
    ui.declare(kLogon, {.caption = "Logon"});
    ui.declare(kLoginCancel, {.caption = "Cancel"});
}

void declareAboutWindow(DisplayModel& ui) {
    ui.declare(kAboutWindow, {.caption = "About program", .visible = false});
    ui.declare(kAboutText);
    ui.declare(kAboutOk, {.caption = "OK"});
}

void declareHelpWindow(DisplayModel& ui) {
    ui.declare(kHelpWindow, {.caption = "Program help", .visible = false});
}

void showAboutWindow(DeviceCore& c) {
    c.ui(kAboutText).setCaption(std::string(kProgramTitle) + " " + c.s.ProgramVersion);
    c.ui(kAboutWindow).activate();
}

bool onMainWindowEvent(DeviceCore& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Answer && e.array == kCommandQuestion) {
        onCommandAnswer(c, e.number != 0);
        return true;
    }
    if (e.kind == Kind::Answer && e.array == kOptionsQuestion) {
        onOptionsAnswer(c, e.number != 0);
        return true;
    }
    if (e.kind == Kind::Click) {
        if (e.in(kCommandButtons)) {
            onOperatorCommandClick(c, e.index);
        } else if (e.is(kUpdateSts)) {
            updateSts(c);
        } else if (e.is(kServiceLoginMenu)) {
            showLoginDialog(c, kServiceLogin);
        } else if (e.is(kUserLoginMenu)) {
            showLoginDialog(c, kUserLogin);
        } else if (e.is(kLogoutMenu)) {
            logout(c);
        } else if (e.is(kHelpAboutMenu) || e.is(kAboutMenu)) {
            showAboutWindow(c);
        } else if (e.is(kHelpMenu)) {
            c.ui(kHelpWindow).activate();
        } else {
            return false;
        }
        return true;
    }
    // Choice options have a selector, the numeric ones a number field.
    const bool option = e.index >= 0 && e.index < kOptionCount;
    const bool choice = option && kOptionTable[e.index].kind == OptionKind::Choice;
    if ((e.kind == Kind::Select && e.in(kOptionSelectors) && choice) ||
        (e.kind == Kind::SetValue && e.in(kOptionUpDowns) && option && !choice)) {
        editOption(c, e.index, e.number);
        return true;
    }
    return false;
}

bool onLoginDialogEvent(DeviceCore& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Click && e.is(kLogon)) {
        onLogonClick(c);
    } else if (e.kind == Kind::Close || (e.kind == Kind::Click && e.is(kLoginCancel))) {
        closeLoginDialog(c);
    } else {
        return e.kind == Kind::EditText && e.is(kPasswordBox);
    }
    return true;
}

bool onAboutWindowEvent(DeviceCore& c, const OperatorEvent& e) {
    using Kind = OperatorEvent::Kind;
    if (e.kind == Kind::Close || (e.kind == Kind::Click && e.is(kAboutOk))) {
        c.ui(kAboutWindow).setVisible(false);
        return true;
    }
    return false;
}

}  // namespace

void declareDeviceElements(DisplayModel& ui) {
    declareOptionsTab(ui);
    declareControlTab(ui);
    declareLoginDialog(ui);
    declareAboutWindow(ui);
    declareHelpWindow(ui);
}

bool onDeviceEvent(DeviceCore& c, const OperatorEvent& event) {
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
