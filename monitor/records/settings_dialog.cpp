#include "records/settings_dialog.h"

#include <charconv>

#include "foundation/main_window.h"
#include "link/exchange.h"
#include "link/station_list.h"

namespace treld {
namespace {

constexpr int kPortEntries = 16;  // "COM1" .. "COM16" after "Demo"

// A text box and the value it edits; `trimmed`: blanks around the typed
// text are dropped on Save.
struct TextBox {
    const char* name;
    std::string StationConfig::*value;
    bool trimmed;
};

const TextBox kTextBoxes[] = {
    {"Text1", &StationConfig::SenderAddress, true},
    {"Text2", &StationConfig::RecipientAddress1, true},
    {"Text3", &StationConfig::SmtpHost, true},
    {"Text4", &StationConfig::SmtpUserName, true},
    {"Text5", &StationConfig::SmtpPassword, true},
    {"Text6", &StationConfig::SenderName, true},
    {"Text7", &StationConfig::RecipientName1, true},
    {"Text8", &StationConfig::RecipientAddress2, true},
    {"Text9", &StationConfig::RecipientName2, true},
    {"Text10", &StationConfig::RecipientAddress3, true},
    {"Text11", &StationConfig::RecipientName3, true},
    {"Text12", &StationConfig::Pop3Host, true},
    {"Text13", &StationConfig::MailSubject, false},
    {"Text14", &StationConfig::StationName, false},
    {"Text15", &StationConfig::RemoteIp1, false},
    {"Text16", &StationConfig::RemoteIp2, false},
    {"Text17", &StationConfig::RemoteIp3, false},
};

struct CheckBox {
    const char* name;
    const char* caption;
    Int16 StationConfig::*value;
};

const CheckBox kCheckBoxes[] = {
    {"Check1", "e-mail sending enable", &StationConfig::EmailEnable},
    {"Check2", "Use Authenticitation", &StationConfig::UseAuthentication},
    {"Check3", "Use POP3 Authenticitation", &StationConfig::UsePopAuthentication},
};

Element& form2(Core& c, std::string_view name) {
    return c.ui(Form::Form2, name);
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The TCP port typed in Text18: digits only (blanks around them allowed),
// 1 to 32767.
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

void refuse(Core& c, std::string text) {
    c.ui.showMessage(Form::Form2, "Settings", std::move(text));
}

}  // namespace

void declareSettingsElements(DisplayModel& ui) {
    ui.declare(Form::Form2, "Form2", {.caption = "Settings", .visible = false});
    Element& ports = ui.declare(Form::Form2, "Combo1");
    ports.addItem("Demo");
    for (int n = 1; n <= kPortEntries; ++n)
        ports.addItem("COM" + std::to_string(n));
    for (const TextBox& box : kTextBoxes)
        ui.declare(Form::Form2, box.name);
    ui.declare(Form::Form2, "Text18");
    for (const CheckBox& box : kCheckBoxes)
        ui.declare(Form::Form2, box.name, {.caption = box.caption});
    ui.declare(Form::Form2, "Command1", {.caption = "Save"});
    ui.declare(Form::Form2, "Command2", {.caption = "e-mail test"});
    ui.declare(Form::Form2, "Command3", {.caption = "Cancel"});
}

void mnset_Click(Core& c) {
    Element& dialog = form2(c, "Form2");
    if (!dialog.visible()) {
        const StationConfig& config = c.config;
        // A port beyond the list (from the file) shows as typed text with no
        // entry chosen; Save then asks for a choice.
        const std::string port =
            config.ComPort == 0 ? "Demo" : "COM" + std::to_string(config.ComPort);
        form2(c, "Combo1").setCaption(port);
        Combo1_EditText(c, port);
        c.settings.LoadedComPort = config.ComPort;
        for (const TextBox& box : kTextBoxes)
            form2(c, box.name).setCaption(config.*box.value);
        form2(c, "Text18").setCaption(std::to_string(config.RemotePort));
        for (const CheckBox& box : kCheckBoxes)
            form2(c, box.name).setValue(config.*box.value == 1 ? 1 : 0);
    }
    dialog.activate();
}

void Form2_Save(Core& c) {
    const int portIndex = form2(c, "Combo1").listIndex();
    if (portIndex < 0 || portIndex > kPortEntries) {
        refuse(c, "Choose Demo or a port from COM1 to COM16.");
        return;
    }
    const std::optional<Int16> remotePort = typedPort(form2(c, "Text18").caption());
    if (!remotePort) {
        refuse(c, "The TCP/IP port must be a whole number from 1 to 32767.");
        return;
    }

    StationConfig next = c.config;
    for (const TextBox& box : kTextBoxes) {
        const std::string& typed = form2(c, box.name).caption();
        next.*box.value = box.trimmed ? std::string(trimBlanks(typed)) : typed;
    }
    next.RemotePort = *remotePort;
    for (const CheckBox& box : kCheckBoxes)
        next.*box.value = form2(c, box.name).value() != 0 ? 1 : 0;
    next.ComPort = static_cast<Int16>(portIndex);
    // Demo is for this run only: the file keeps the port the dialog opened with.
    const Int16 comPortValue = portIndex == 0 ? c.settings.LoadedComPort : next.ComPort;

    if (!WriteConfig(c.programDir / "sts.cfg", next, comPortValue)) {
        refuse(c, "sts.cfg could not be written; nothing was changed.");
        return;
    }

    c.config = next;
    STSLIST(c);
    if (portIndex == 0) {
        c.s.DemoMode = 1;
        c.s.PollStep = 1;
        c.form1("Label24").setCaption("Demo");
    } else {
        c.s.DemoMode = 0;
        c.form1("Label24").setCaption("com" + std::to_string(c.config.ComPort));
    }
    c.platform.stopTimer(TimerId::Timer1);
    c.platform.startTimer(TimerId::Timer1, 1000);
    c.form1("SSTab1").setListIndex(kMeasuresTab);
    form2(c, "Form2").setVisible(false);
}

void Form2_Cancel(Core& c) {
    form2(c, "Form2").setVisible(false);
}

void Form2_MailTest(Core& c) {
    c.startMailProgram("1&&test message++STS test message");
}

void Combo1_Select(Core& c, int index) {
    Element& ports = form2(c, "Combo1");
    if (index < 0 || index >= int(ports.items().size()))
        return;
    ports.setListIndex(index);
    ports.setCaption(ports.items()[index]);
}

void Combo1_EditText(Core& c, std::string_view text) {
    Element& ports = form2(c, "Combo1");
    int match = -1;
    for (int i = 0; i < int(ports.items().size()); ++i) {
        if (ports.items()[i] == text)
            match = i;
    }
    ports.setListIndex(match);
}

}  // namespace treld
