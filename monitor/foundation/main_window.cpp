#include "foundation/main_window.h"

namespace treld {

void declareMainWindowElements(DisplayModel& ui) {
    ui.declare(kMainWindow, {.caption = std::string(kProgramTitle) + " (Local)"});

    Element& tabs = ui.declare(kTabs);
    const char* const kTabCaptions[kTabCount] = {"Measures", "User options", "Demo set", "Control",
                                                 "Log event"};
    for (int i = 0; i < kTabCount; ++i) {
        tabs.addItem(kTabCaptions[i]);
        ui.declare(kTabPages, i, {.caption = kTabCaptions[i]});
    }
    tabs.setListIndex(kMeasuresTab);

    for (ElementName label :
         {kLinkKind, kStatusLine, kReceiveIndicator, kDeviceMessage, kSendIndicator}) {
        ui.declare(label);
    }
    ui.declare(kSynchronize, {.caption = "Synchronize"});

    // "&" marks the mnemonic: Alt and the letter, once the menu is open.
    struct Menu {
        ElementName name;
        const char* caption;
    };
    const Menu kMenus[] = {
        {kAlarmsMenu, "&Alarms"},
        {kSettingsMenu, "&Settings"},
        {kCalendarMenu, "&Event calender"},
        {kAboutMenu, "A&bout program"},
        {kExitMenu, "e&xit"},
        {kServiceLoginMenu, "&Service Login"},
        {kUserLoginMenu, "&User Login"},
        {kLogoutMenu, "&Logout"},
        {kHelpMenu, "Program &help"},
        {kHelpAboutMenu, "&About program"},
    };
    // "Logout" is offered once a status shows a login.
    for (const Menu& menu : kMenus)
        ui.declare(menu.name, {.caption = menu.caption, .enabled = menu.name != kLogoutMenu});
}

}  // namespace treld
