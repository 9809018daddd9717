#include "fleet/notify_messages.h"

#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "foundation/iso_time.h"
#include "records/log_recovery.h"
#include "status/link_watch.h"
#include "status/status_record.h"

namespace treld {
namespace {

std::string leftOutNote(const NotifyMessage& message) {
    return message.leftOut == 0
               ? ""
               : " (" + std::to_string(message.leftOut) + " earlier events left out)";
}

std::string webhookJson(const NotifyMessage& message) {
    std::string alarms = "[";
    for (const std::string& alarm : message.alarms)
        alarms += (alarms.size() > 1 ? "," : "") + jsonString(alarm);
    return JsonObject()
        .text("station", message.station)
        .raw("code", std::to_string(message.code))
        .text("time", message.time)
        .text("text", message.text)
        .raw("recovered", message.recovered ? "true" : "false")
        .raw("alarms", alarms + "]")
        .raw("left_out", std::to_string(message.leftOut))
        .done();
}

// ntfy's priorities: a restored link is low, a black-out or an overload high.
std::string_view ntfyPriority(const NotifyMessage& message) {
    if (message.urgent)
        return "high";
    return message.code == kLinkRestoredEvent ? "low" : "default";
}

// A header value: one line of valid UTF-8.
std::string headerValue(std::string_view text) {
    std::string value = toUtf8(text);
    for (char& ch : value) {
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
            ch = ' ';
    }
    return value;
}

}  // namespace

NotifyMessage notifyMessage(const DeviceCore& c, std::string station, Int16 code,
                            std::string_view text, const LocalDateTime& at) {
    NotifyMessage message{std::move(station), code, toUtf8(text),
                          isoLocalTime(at.epochSeconds, at.utcOffsetSeconds),
                          code == kRecoveredEvent};
    const std::string& status = c.status.CurrentStatus;
    for (const FlagPosition& flag : flagPositions()) {
        if (flag.position > status.size() || status[flag.position - 1] != '1')
            continue;
        if (!flag.alarmText.empty())
            message.alarms.emplace_back(flag.alarmText);
        const std::string name = alarmName(flag);
        message.urgent |=
            code == 100 && (name == "s1_blackout" || name == "s2_blackout" || name == "overload");
    }
    return message;
}

OutgoingRequest notifyRequest(const NotifyTarget& target, const NotifyMessage& message) {
    OutgoingRequest request{"POST", target.address};
    switch (target.kind) {
        case NotifyTarget::Kind::Webhook:
            request.headers = {{"Content-Type", "application/json"}};
            request.body = webhookJson(message);
            break;
        case NotifyTarget::Kind::Ntfy:
            request.headers = {{"Content-Type", "text/plain; charset=utf-8"},
                               {"Title", headerValue(message.station)},
                               {"Priority", std::string(ntfyPriority(message))}};
            if (!target.token.empty())
                request.headers.emplace_back("Authorization",
                                             "Bearer " + headerValue(target.token));
            request.body = message.text + leftOutNote(message);
            break;
        default:  // the heartbeat: a call, nothing to say
            request.method = "GET";
            break;
    }
    return request;
}

Pairs notifyEnvironment(const NotifyMessage& message) {
    std::string alarms;
    for (const std::string& alarm : message.alarms)
        alarms += (alarms.empty() ? "" : ", ") + alarm;
    return {{"TRELD_STATION", message.station},
            {"TRELD_CODE", std::to_string(message.code)},
            {"TRELD_TEXT", message.text},
            {"TRELD_TIME", message.time},
            {"TRELD_RECOVERED", message.recovered ? "1" : "0"},
            {"TRELD_ALARMS", alarms},
            {"TRELD_LEFT_OUT", std::to_string(message.leftOut)}};
}

}  // namespace treld
