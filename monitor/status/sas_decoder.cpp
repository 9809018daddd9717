#include "status/sas_decoder.h"

#include "foundation/main_window.h"
#include "foundation/numeric.h"
#include "link/exchange.h"
#include "link/line.h"
#include "link/measurements.h"
#include "link/reply_format.h"
#include "status/alarm_lamps.h"
#include "status/alarms.h"
#include "status/schematic.h"
#include "status/status_controls.h"
#include "status/status_record.h"

namespace treld {
namespace {

constexpr ElementName kFaultFields[] = {kSource1Fault, kSource2Fault, kOutputFault};

// A status character by the numeric-prefix rule; missing positions read 0.
Int16 statusDigit(std::string_view reply, std::size_t position) {
    const std::string_view ch = positions(reply, position, 1);
    return ch.empty() ? Int16{0} : digitValue(ch[0]);
}

// Fields by their position in the record.
void decode(std::string_view reply, DecodedStatus& st) {
    for (const FlagPosition& flag : flagPositions()) {
        if (flag.lamp >= 0)
            st.StatusFlags[flag.lamp] = statusDigit(reply, flag.position);
    }
    st.Source1InputOff = statusDigit(reply, 8);
    st.Source2InputOff = statusDigit(reply, 17);
    st.Source1Bad = statusDigit(reply, 20);
    st.Source2Bad = statusDigit(reply, 21);
    st.Source1BypassOn = statusDigit(reply, 34);
    st.Source2BypassOn = statusDigit(reply, 35);
    st.OutputSwitchOff = statusDigit(reply, 36);
    st.SourceIndicator = statusDigit(reply, 38);
    st.PathCode = statusDigit(reply, 39);
    st.ServiceLoginActive = statusDigit(reply, 40);
    st.SoundOff = statusDigit(reply, 41);
    st.UserLoginActive = statusDigit(reply, 42);
}

// Each field shows the text of its last set flag, on red; empty on button face.
void showFaultTexts(StatusCore& c, std::string_view reply) {
    for (ElementName field : kFaultFields) {
        std::string_view text;
        for (const FlagPosition& flag : flagPositions()) {
            if (flag.faultField == field && statusDigit(reply, flag.position) != 0)
                text = flag.faultText;
        }
        Element& label = c.ui(field);
        label.setCaption(text);
        label.setBackColour(text.empty() ? kButtonFace : kRed);
    }
}

// The values of the source in use on light green, the other on light yellow.
void tintPanels(StatusCore& c) {
    const Int16 source = c.status.SourceIndicator;
    if (source != 0 && source != 1)
        return;
    const std::uint32_t source1 = source == 0 ? kLightGreen : kLightYellow;
    const std::uint32_t source2 = source == 0 ? kLightYellow : kLightGreen;
    for (ElementName label : kSource1Values)
        c.ui(label).setBackColour(source1);
    for (ElementName label : kSource2Values)
        c.ui(label).setBackColour(source2);
    showTransferPath(c);
}

void showPanelTitles(StatusCore& c) {
    c.ui(kSource1Panel).setCaption(c.status.Source1Bad == 0 ? "Source1 (Good)" : "Source1 (Bad)");
    c.ui(kSource2Panel).setCaption(c.status.Source2Bad == 0 ? "Source2 (Good)" : "Source2 (Bad)");
}

// A login that ends without the operator's "Logout" is said in the title
// until the next login.
void noticeLoginLapse(StatusCore& c, bool wasLoggedIn) {
    LoginLapse& login = c.lapse;
    if (c.status.loggedIn()) {
        login.lapsedAt.clear();
        return;
    }
    if (wasLoggedIn && !login.logoutAsked) {
        const LocalDateTime now = c.platform.now();
        login.lapsedAt = hoursMinutes(now.hour, now.minute);
    }
    login.logoutAsked = false;
}

}  // namespace

void showTitle(StatusCore& c) {
    const DecodedStatus& st = c.status;
    std::string title(kProgramTitle);
    const LinkHealth& link = c.line.health();
    if (link.staleShown) {
        title += "/No data since " + hoursMinutes(link.heardHour, link.heardMinute);
    } else if (st.ServiceLoginActive != 0) {
        title += "/Service Login";
    } else if (st.UserLoginActive != 0) {
        title += "/User Login";
    } else {
        title += "/Logout";
        if (!c.lapse.lapsedAt.empty())
            title += ", login lapsed at " + c.lapse.lapsedAt;
    }
    title += "(" + std::string(c.line.transport().title) + ")";
    c.ui(kMainWindow).setCaption(title);
    c.ui(kLogoutMenu).setEnabled(st.loggedIn());
}

void SASAYIKLA(StatusCore& c) {
    c.s.CheckedCommand = "SAS";
    const std::string_view reply = c.line.reply();
    if (!passesFormatTest("SAS", reply)) {
        datahata(c);
        return;
    }
    const bool wasLoggedIn = c.status.loggedIn();
    decode(reply, c.status);
    noticeLoginLapse(c, wasLoggedIn);
    c.ui(kSoundState).setCaption(c.status.SoundOff != 0 ? "Sound off" : "Sound on");
    showFaultTexts(c, reply);
    detectAlarm(c);
    if (alarmWindowShown(c)) {
        refreshAlarmLamps(c);
        c.statusLine.say(Said::DataOk);
    }
    showTitle(c);
    tintPanels(c);
    showSwitches(c);
    showPanelTitles(c);
}

}  // namespace treld
