#include "device/option_editor.h"

#include "device/command_question.h"
#include "device/device_controls.h"
#include "device/login.h"
#include "device/option_table.h"

namespace treld {
void ekranla(Core& c) {
    for (const OptionSpec& option : kOptionTable) {
        if (option.kind != OptionKind::Choice)
            continue;
        Element& selector = c.ui(kOptionSelectors, option.number);
        for (int v = 0; v < option.valueCount(); ++v)
            selector.addItem(option.valueTexts[v]);
    }
}

void onOptionSelected(Core& c, int number, int position) {
    c.ui(kOptionSelectors, number).setListIndex(position);
    c.options.EditedOption = static_cast<Int16>(number);
    c.options.EditedValue = static_cast<Int16>(position);
}

void loadOptionEditor(Core& c) {
    c.s.OptionsRefresh = 0;
    for (const OptionSpec& option : kOptionTable) {
        const int n = option.number;
        if (option.kind == OptionKind::Choice) {
            onOptionSelected(c, n, c.options.OptionValues[n]);
            continue;
        }
        const std::string shown = c.ui(kOptionValues, n).caption();
        c.ui(kOptionNumbers, n).setCaption(shown);
        c.ui(kOptionUpDowns, n).setValue(toInt16RoundedEven(leadingNumber(shown)).value_or(0));
    }
    // What the load selected is the device's value, not a choice to write.
    c.options.operatorChoseValue = false;
}

void updateSts(Core& c) {
    if (!c.status.loggedIn()) {
        showLoginDialog(c, kUserLogin);
        return;
    }
    const OptionsState& o = c.options;
    if (!o.operatorChoseValue || o.EditedOption < 0 || o.EditedOption >= kOptionCount ||
        !kOptionTable[o.EditedOption].writable)
        return;
    const OptionSpec& option = kOptionTable[o.EditedOption];
    std::string command = optionWriteCommand(o.EditedOption, o.EditedValue);
    askBeforeQueueing(c, command,
                      "Set \"" + std::string(option.caption) + "\" to \"" +
                          std::string(option.valueTexts[o.EditedValue]) + "\" (" +
                          command.substr(0, command.size() - 1) + ") on the STS?");
}

}  // namespace treld
