#include "records/settings_dialog.h"

#include <charconv>

#include "foundation/main_window.h"
#include "foundation/text_encoding.h"
#include "link/command_slot.h"
#include "link/line.h"
#include "link/poll_timer.h"
#include "link/serial_link.h"
#include "link/station_list.h"
#include "records/mail_test.h"

namespace treld {
namespace {

constexpr int kPortEntries = 16;  // "COM1" .. "COM16" after "Demo"

// A text box, the value it edits and the words its row shows; `trimmed`:
// blanks around the typed text are dropped on Save; `mail`: the mail
// program reads it.
struct TextBox {
    ElementName name;
    std::string StationConfig::*value;
    bool trimmed;
    const char* label;
    bool mail = true;
};

const TextBox kTextBoxes[] = {
    {kSenderAddressBox, &StationConfig::SenderAddress, true, "sender e-mail address"},
    {kRecipientAddress1Box, &StationConfig::RecipientAddress1, true, "Receipent 1 address"},
    {kSmtpHostBox, &StationConfig::SmtpHost, true, "SMTP host"},
    {kSmtpUserNameBox, &StationConfig::SmtpUserName, true, "User name"},
    {kSmtpPasswordBox, &StationConfig::SmtpPassword, true, "Password"},
    {kSenderNameBox, &StationConfig::SenderName, true, "sender name"},
    {kRecipientName1Box, &StationConfig::RecipientName1, true, "Receipent 1 name"},
    {kRecipientAddress2Box, &StationConfig::RecipientAddress2, true, "Receipent 2 address"},
    {kRecipientName2Box, &StationConfig::RecipientName2, true, "Receipent 2 name"},
    {kRecipientAddress3Box, &StationConfig::RecipientAddress3, true, "Receipent 3 address"},
    {kRecipientName3Box, &StationConfig::RecipientName3, true, "Receipent 3 name"},
    {kPop3HostBox, &StationConfig::Pop3Host, true, "POP3 host"},
    {kMailSubjectBox, &StationConfig::MailSubject, false, "Subject"},
    {kStationNameBox, &StationConfig::StationName, false, "Station name", false},
    {kRemoteIp1Box, &StationConfig::RemoteIp1, false, "Remote STS 1", false},
    {kRemoteIp2Box, &StationConfig::RemoteIp2, false, "Remote STS 2", false},
    {kRemoteIp3Box, &StationConfig::RemoteIp3, false, "Remote STS 3", false},
};

struct CheckBox {
    ElementName name;
    const char* caption;
    Int16 StationConfig::*value;
};

const CheckBox kCheckBoxes[] = {
    {kEmailEnableBox, "e-mail sending enable", &StationConfig::EmailEnable},
    {kAuthenticationBox, "Use Authenticitation", &StationConfig::UseAuthentication},
    {kPopAuthenticationBox, "Use POP3 Authenticitation", &StationConfig::UsePopAuthentication},
};

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The TCP port typed in Text18: digits only (blanks around them allowed),
// 1 to 32767.
// What Save stores from a text box.
std::string typedText(RecordsCore& c, const TextBox& box) {
    const std::string& typed = c.ui(box.name).caption();
    return box.trimmed ? std::string(trimBlanks(typed)) : typed;
}

std::optional<Int16> typedPort(std::string_view text) {
    text = trimBlanks(text);
    int port = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, port);
    if (text.empty() || text.front() == '-' || error != std::errc{} || end != last || port < 1 ||
        port > 32767)
        return std::nullopt;
    return static_cast<Int16>(port);
}

void refuse(RecordsCore& c, std::string text) {
    c.ui.showMessage(Form::Form2, "Settings", std::move(text));
}

}  // namespace

void declareSettingsElements(DisplayModel& ui) {
    ui.declare(kSettingsDialog, {.caption = "Settings", .visible = false});
    Element& ports = ui.declare(kPortChoice);
    ports.addItem("Demo");
    for (int n = 1; n <= kPortEntries; ++n)
        ports.addItem("COM" + std::to_string(n));
    for (const TextBox& box : kTextBoxes)
        ui.declare(box.name);
    ui.declare(kRemotePortBox);
    for (const CheckBox& box : kCheckBoxes)
        ui.declare(box.name, {.caption = box.caption});
    ui.declare(kSaveSettings, {.caption = "Save"});
    ui.declare(kMailTest, {.caption = "e-mail test"});
    ui.declare(kCancelSettings, {.caption = "Cancel"});
    ui.declare(kMailTestOutcome);
}

void showSettingsDialog(RecordsCore& c) {
    Element& dialog = c.ui(kSettingsDialog);
    if (!dialog.visible()) {
        const StationConfig& config = c.config;
        // A port beyond the list (from the file) shows as typed text with no
        // entry chosen; Save then asks for a choice.
        const std::string port =
            config.ComPort == 0 ? "Demo" : "COM" + std::to_string(config.ComPort);
        c.ui(kPortChoice).setCaption(port);
        matchTypedPort(c, port);
        // Demo saved twice still writes the last real port (below).
        if (config.ComPort != 0)
            c.settings.LoadedComPort = config.ComPort;
        for (const TextBox& box : kTextBoxes)
            c.ui(box.name).setCaption(config.*box.value);
        c.ui(kRemotePortBox).setCaption(std::to_string(config.RemotePort));
        for (const CheckBox& box : kCheckBoxes)
            c.ui(box.name).setValue(config.*box.value == 1 ? 1 : 0);
        if (!c.settings.mailTestRunning)  // an outcome is about the last opening
            c.ui(kMailTestOutcome).setCaption("");
    }
    dialog.activate();
}

void saveSettings(RecordsCore& c) {
    // A pasted line break would add lines of its own to sts.cfg; a text the
    // mail program refuses would fail every alarm mail.
    for (const TextBox& box : kTextBoxes) {
        const std::string& typed = c.ui(box.name).caption();
        std::string problem;
        if (holdsControlCharacter(typed))
            problem = "holds a line break or another control character";
        else if (characterCount(typed) > kLongestConfigText)
            problem = "is longer than " + std::to_string(kLongestConfigText) + " characters";
        if (!problem.empty()) {
            refuse(c, std::string("\"") + box.label + "\" " + problem + "; nothing was saved.");
            return;
        }
    }
    const int portIndex = c.ui(kPortChoice).listIndex();
    if (portIndex < 0 || portIndex > kPortEntries) {
        refuse(c, "Choose Demo or a port from COM1 to COM16.");
        return;
    }
    const std::optional<Int16> remotePort = typedPort(c.ui(kRemotePortBox).caption());
    if (!remotePort) {
        refuse(c, "The TCP/IP port must be a whole number from 1 to 32767.");
        return;
    }

    StationConfig next = c.config;
    for (const TextBox& box : kTextBoxes)
        next.*box.value = typedText(c, box);
    next.RemotePort = *remotePort;
    for (const CheckBox& box : kCheckBoxes)
        next.*box.value = c.ui(box.name).value() != 0 ? 1 : 0;
    next.ComPort = static_cast<Int16>(portIndex);
    // Demo is for this run only: the file keeps the last real port.
    const Int16 comPortValue = portIndex == 0 ? c.settings.LoadedComPort : next.ComPort;

    if (!c.platform.replaceFile(c.stationDir / "sts.cfg", writeConfigText(next, comPortValue))) {
        refuse(c, "sts.cfg could not be written; nothing was changed.");
        return;
    }

    c.config = next;
    STSLIST(c);
    c.line.useDemo(portIndex == 0);
    if (portIndex == 0)
        c.line.restartPolling();
    else
        c.line.changePort(c);
    showLinkKind(c);
    // The demo answers can be looked at while they stand in for the device.
    c.ui(kTabPages, kDemoSetTab).setEnabled(portIndex == 0);
    c.line.wantTick(kAfterSettingsMs);
    c.ui(kTabs).setListIndex(kMeasuresTab);
    c.ui(kSettingsDialog).setVisible(false);
}

bool mailSettingsUnsaved(RecordsCore& c) {
    for (const TextBox& box : kTextBoxes) {
        if (box.mail && typedText(c, box) != c.config.*box.value)
            return true;
    }
    for (const CheckBox& box : kCheckBoxes) {
        if ((c.ui(box.name).value() != 0) != (c.config.*box.value == 1))
            return true;
    }
    return false;
}

std::string inDialogWords(std::string text) {
    auto replace = [&text](std::string_view key, const std::string& words) {
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + words.size()))
            text.replace(at, key.size(), words);
    };
    for (const TextBox& box : kTextBoxes)
        replace(configKey(box.value), std::string("\"") + box.label + "\"");
    for (const CheckBox& box : kCheckBoxes)
        replace(configKey(box.value), std::string("\"") + box.caption + "\"");
    return text;
}

void showLinkKind(RecordsCore& c) {
    c.ui(kLinkKind).setCaption(
        c.line.transport().simulated ? "Demo" : "com" + std::to_string(c.config.ComPort));
}

void closeSettingsDialog(RecordsCore& c) {
    c.ui(kSettingsDialog).setVisible(false);
}

void choosePortEntry(RecordsCore& c, int index) {
    Element& ports = c.ui(kPortChoice);
    if (index < 0 || index >= int(ports.items().size()))
        return;
    ports.setListIndex(index);
    ports.setCaption(ports.items()[index]);
}

void matchTypedPort(RecordsCore& c, std::string_view text) {
    Element& ports = c.ui(kPortChoice);
    int match = -1;
    for (int i = 0; i < int(ports.items().size()); ++i) {
        if (ports.items()[i] == text)
            match = i;
    }
    ports.setListIndex(match);
}

}  // namespace treld
