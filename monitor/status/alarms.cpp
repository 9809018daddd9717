#include "status/alarms.h"

#include "link/line.h"
#include "status/status_record.h"

namespace treld {

void detectAlarm(StatusCore& c) {
    DecodedStatus& st = c.status;
    const std::string_view reply = c.line.reply();
    if (reply.size() <= kAlarmStatusLength)
        return;
    st.CurrentStatus = reply.substr(0, kAlarmStatusLength);
    if (st.CurrentStatus == st.PreviousStatus)
        return;
    if (st.CurrentStatus.find('1') != std::string::npos)
        ALARMETIKET(c);
    // Remembered whatever the event's log line or mail did, so one status
    // is reported once.
    st.PreviousStatus = st.CurrentStatus;
}

std::string AlarmList(std::string_view currentStatus) {
    std::string list;
    for (const FlagPosition& flag : flagPositions()) {
        if (flag.position <= currentStatus.size() && currentStatus[flag.position - 1] == '1') {
            list += '-';
            list += flag.alarmText;
        }
    }
    return list;
}

std::string alarmMailHead(const StatusCore& c) {
    std::string head = "This message is automatically produced by STS management software<br>";
    if (!c.config.StationName.empty())
        head += "Station : " + c.config.StationName + "<br>";
    head += "Your STS unit produced the following alarm/alarms:<br>";
    return head;
}

std::string alarmMailDate(StatusCore& c) {
    const LocalDateTime now = c.platform.now();
    return "Alarm Date: " + now.shortDate + "<br>" + "Alarm time: " + now.longTime + "<br>";
}

void ALARMETIKET(StatusCore& c) {
    const std::string list = AlarmList(c.status.CurrentStatus);
    // A line that cannot be written is the log writer's to report; the
    // e-mail still goes out.
    c.pcEvents.WritePcLog(100, list);
    if (!c.line.transport().mailsAlarms || c.config.EmailEnable == 0)
        return;
    // A mail program that cannot be started is ignored: the log line stands.
    c.startMailProgram("1&&send++" + alarmMailHead(c), alarmMailDate(c) + list);
}

}  // namespace treld
