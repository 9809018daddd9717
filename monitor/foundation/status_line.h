// The status line (kStatusLine), the one place that writes it. What is said is
// a kind (Said) with its fill-ins; the texts are one table in status_line.cpp.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "foundation/display_model.h"
#include "foundation/platform.h"

namespace treld {

// What the status line says; the comment gives the fill-ins in order.
enum class Said {
    Nothing,             // an empty line: the port opened
    DataOk,              // a reply decoded; a standing notice keeps the line
    ComTimeOut,          // the port
    PortNotOpened,       // the port
    DemoNoAnswer,        // the command DEMOSET.CFG lacks
    RemoteTimeOut,       //
    DataError,           // the command whose reply failed its format test
    CommandReply,        // the command's name, the device's reply
    OptionsLeft,         // the option captions, quoted and joined
    PcLogNotWritten,     // the file, the problem, the lines kept
    TrendsNotWritten,    // the file, the problem, the rows kept
    AlarmMailFailed,     //
    MqttDisconnected,    //
    FleetProblem,        // mqtt.cfg or the metrics endpoint, said whole
    RelayRefused,        // the request as audited, the peer
    NotificationFailed,  // the target, what it answered
    Notice,              // a notice (StatusLine::notice), said whole
};

// The text of `what` with its fill-ins, which must be as many as it takes.
std::string statusText(Said what, std::initializer_list<std::string_view> fills = {});

class StatusLine {
  public:
    StatusLine(DisplayModel& ui, Platform& platform) : ui_(ui), platform_(platform) {}

    // Shows `what`; returns the text shown (or held back behind a notice).
    std::string say(Said what, std::initializer_list<std::string_view> fills = {});

    // A replaced setting or a skipped file, said once: on stderr and in the
    // status line, where DataOk leaves it for kNoticeSeconds. Notices of the
    // same moment are joined.
    static constexpr std::int64_t kNoticeSeconds = 10;
    void notice(const std::string& text);

  private:
    bool noticeShown();

    DisplayModel& ui_;
    Platform& platform_;
    std::string noticeText_;
    std::int64_t noticeUntil_ = 0;
};

}  // namespace treld
