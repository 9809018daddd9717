#include "device/option_editor.h"

#include <utility>

#include "device/device_controls.h"
#include "device/login.h"
#include "device/option_table.h"
#include "foundation/main_window.h"
#include "link/command_slot.h"

namespace treld {
namespace {

static_assert(std::tuple_size_v<decltype(OptionsState::edited)> == kOptionCount);

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : std::string(between)) + part;
    return text;
}

// The value option `n`'s editor shows: a selector's list position, or the
// number of the number field.
int editorValue(DeviceCore& c, const OptionSpec& option) {
    if (option.kind == OptionKind::Choice)
        return c.ui(kOptionSelectors, option.number).listIndex();
    return c.ui(kOptionUpDowns, option.number).value();
}

std::string valueText(const OptionSpec& option, int value) {
    return option.kind == OptionKind::Choice ? std::string(option.valueTexts[value])
                                             : std::to_string(value);
}

// The value the device holds, as last read.
int deviceValue(DeviceCore& c, const OptionSpec& option) {
    if (option.kind == OptionKind::Choice)
        return c.options.OptionValues[option.number];
    return toInt16RoundedEven(leadingNumber(c.ui(kOptionValues, option.number).caption()))
        .value_or(0);
}

// The device's value back into one option's editor.
void loadEditor(DeviceCore& c, const OptionSpec& option) {
    const int n = option.number;
    c.options.edited[n] = false;
    if (option.kind == OptionKind::Choice) {
        c.ui(kOptionSelectors, n).setListIndex(deviceValue(c, option));
        return;
    }
    c.ui(kOptionNumbers, n).setCaption(c.ui(kOptionValues, n).caption());
    c.ui(kOptionUpDowns, n).setValue(deviceValue(c, option));
}

}  // namespace

void ekranla(DeviceCore& c) {
    for (const OptionSpec& option : kOptionTable) {
        if (option.kind != OptionKind::Choice)
            continue;
        Element& selector = c.ui(kOptionSelectors, option.number);
        for (int v = 0; v < option.valueCount(); ++v)
            selector.addItem(option.valueTexts[v]);
    }
}

void editOption(DeviceCore& c, int number, int value) {
    const OptionSpec& option = kOptionTable[number];
    if (option.kind == OptionKind::Choice) {
        Element& selector = c.ui(kOptionSelectors, number);
        if (value < 0 || value >= static_cast<int>(selector.items().size()))
            return;
        selector.setListIndex(value);
    } else {
        c.ui(kOptionNumbers, number).setCaption(std::to_string(value));
        c.ui(kOptionUpDowns, number).setValue(value);
    }
    c.options.edited[number] = true;
}

void loadOptionEditor(DeviceCore& c) {
    c.options.OptionsRefresh = 0;
    // An edit stays until it is sent or said to be unsendable.
    for (const OptionSpec& option : kOptionTable) {
        if (!c.options.edited[option.number])
            loadEditor(c, option);
    }
}

void updateSts(DeviceCore& c) {
    if (!c.status.loggedIn()) {
        showLoginDialog(c, kUserLogin, updateSts);
        return;
    }
    std::vector<std::pair<Int16, Int16>> writes;
    std::vector<std::string> named;
    std::vector<std::string> readOnly;
    for (const OptionSpec& option : kOptionTable) {
        if (!c.options.edited[option.number])
            continue;
        const int value = editorValue(c, option);
        if (value == deviceValue(c, option)) {  // changed back: nothing to send
            loadEditor(c, option);
        } else if (option.writable) {
            const std::string command = optionWriteCommand(option.number, value);
            named.push_back(inQuotes(option.caption) + " to " + inQuotes(valueText(option, value)) +
                            " (" + command.substr(0, command.size() - 1) + ")");
            writes.emplace_back(option.number, static_cast<Int16>(value));
        } else {
            readOnly.push_back(inQuotes(option.caption) + " (" + valueText(option, value) + ")");
            loadEditor(c, option);
        }
    }
    const std::string notSent = readOnly.empty()
                                    ? ""
                                    : "Not sent: " + joined(readOnly, ", ") +
                                          (readOnly.size() == 1 ? ", which" : ", which each") +
                                          " this program can only read from the STS.";
    if (writes.empty()) {
        if (!notSent.empty())
            c.ui.showMessage(Form::Form1, std::string(kProgramTitle), notSent);
        return;
    }
    std::string question = named.size() == 1 ? "Set " + named.front() + " on the STS?"
                                             : "Set on the STS?\n" + joined(named, "\n");
    if (!notSent.empty())
        question += "\n\n" + notSent;
    c.options.writesAsked = std::move(writes);
    c.ui.ask(Form::Form1, std::string(kOptionsQuestion), std::string(kProgramTitle),
             std::move(question));
}

void onOptionsAnswer(DeviceCore& c, bool yes) {
    auto writes = std::exchange(c.options.writesAsked, {});
    if (!yes)
        return;
    for (const auto& write : writes)
        c.options.edited[write.first] = false;  // the re-read after the writes shows the outcome
    c.options.writesDue.assign(writes.begin(), writes.end());
}

void queueDueOptionWrite(DeviceCore& c) {
    auto& due = c.options.writesDue;
    if (due.empty() || !commandSlotFree(c))
        return;
    const auto [number, value] = due.front();
    queueCommand(c, optionWriteCommand(number, value), std::string(kOptionTable[number].caption));
    due.pop_front();
}

void dropDueOptionWrites(DeviceCore& c) {
    auto& due = c.options.writesDue;
    if (due.empty())
        return;
    std::vector<std::string> left;
    for (const auto& write : due)
        left.push_back(inQuotes(kOptionTable[write.first].caption));
    due.clear();
    c.statusLine.say(Said::OptionsLeft, {joined(left, ", ")});
}

}  // namespace treld
