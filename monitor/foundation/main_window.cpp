#include "foundation/main_window.h"

namespace treld {

void declareMainWindowElements(DisplayModel& ui) {
    ui.declare(Form::Form1, "Form1", {.caption = std::string(kProgramTitle) + " (Local)"});

    Element& tabs = ui.declare(Form::Form1, "SSTab1");
    const char* const kTabs[] = {"Measures", "User options", "Demo set", "Control", "Log event"};
    for (int i = 0; i < 5; ++i) {
        tabs.addItem(kTabs[i]);
        ui.declare(Form::Form1, "SSTab1_" + std::to_string(i), {.caption = kTabs[i]});
    }
    tabs.setListIndex(0);

    for (const char* name : {"Label24", "Label40", "Label50", "Label25", "Label56"}) {
        ui.declare(Form::Form1, name);
    }
    ui.declare(Form::Form1, "Command3", {.caption = "Synchronize"});

    struct Menu {
        const char* name;
        const char* caption;
    };
    const Menu kMenus[] = {
        {"mnalarm", "Alarms"},        {"mnset", "Settings"}, {"mncal", "Event calender"},
        {"mnabo", "About program"},   {"mnexit", "exit"},    {"mnlogon", "Service Login"},
        {"mnuselogon", "User Login"}, {"mnout", "&Logout"},  {"phelp", "Program help"},
        {"mnab", "About program"},
    };
    for (const Menu& menu : kMenus)
        ui.declare(Form::Form1, menu.name, {.caption = menu.caption});
}

}  // namespace treld
