#include "foundation/status_line.h"

#include <cassert>
#include <iterator>

#include "foundation/main_window.h"

namespace treld {
namespace {

// Each "{}" takes the next fill-in.
struct Text {
    Said what;
    std::string_view pattern;
};
constexpr Text kTexts[] = {
    {Said::Nothing, ""},
    {Said::DataOk, "Data OK"},
    {Said::ComTimeOut, "Time out on com{}"},
    {Said::PortNotOpened, "COM {} Not opened select another port"},
    {Said::DemoNoAnswer, "Demo: DEMOSET.CFG has no answer to {}"},
    {Said::RemoteTimeOut, "Remote STS communication time out"},
    {Said::DataError, "Data error {}"},
    {Said::CommandReply, "{}: {}"},
    {Said::OptionsLeft, "Not sent, User options was left: {}"},
    {Said::PcLogNotWritten, "PC log not written: {}: {}; {}"},
    {Said::TrendsNotWritten, "Trends not written: {}: {}; {}"},
    {Said::AlarmMailFailed,
     "Alarm mail not sent (drovelin.log says why): its alarms go out with the next mail"},
    {Said::MqttDisconnected, "MQTT: disconnected"},
    {Said::FleetProblem, "{}"},
    {Said::RelayRefused, "Relay refused {} from {}"},
    {Said::NotificationFailed, "Notification to {} failed: {}"},
    {Said::Notice, "{}"},
};

constexpr bool inOrder() {
    for (std::size_t n = 0; n < std::size(kTexts); ++n)
        if (static_cast<std::size_t>(kTexts[n].what) != n)
            return false;
    return std::size(kTexts) == static_cast<std::size_t>(Said::Notice) + 1;
}
static_assert(inOrder(), "kTexts lists every Said once, in order");

}  // namespace

std::string statusText(Said what, std::initializer_list<std::string_view> fills) {
    const std::string_view pattern = kTexts[static_cast<std::size_t>(what)].pattern;
    std::string text;
    const std::string_view* fill = fills.begin();
    std::size_t from = 0;
    for (std::size_t at = pattern.find("{}"); at != std::string_view::npos;
         from = at + 2, at = pattern.find("{}", from)) {
        assert(fill != fills.end());
        text.append(pattern.substr(from, at - from)).append(*fill++);
    }
    assert(fill == fills.end());
    return text.append(pattern.substr(from));
}

std::string StatusLine::say(Said what, std::initializer_list<std::string_view> fills) {
    std::string text = statusText(what, fills);
    if (what != Said::DataOk || !noticeShown())
        ui_(kStatusLine).setCaption(text);
    return text;
}

void StatusLine::notice(const std::string& text) {
    platform_.writeStderr(text);
    const std::string& shown = ui_(kStatusLine).caption();
    noticeText_ = say(Said::Notice, {noticeShown() ? shown + " | " + text : text});
    noticeUntil_ = platform_.now().epochSeconds + kNoticeSeconds;
}

bool StatusLine::noticeShown() {
    return !noticeText_.empty() && ui_(kStatusLine).caption() == noticeText_ &&
           platform_.now().epochSeconds < noticeUntil_;
}

}  // namespace treld
