#include "status/link_watch.h"

#include <algorithm>

#include "link/exchange.h"
#include "link/measurements.h"
#include "link/serial_link.h"
#include "status/alarms.h"
#include "status/stale_display.h"

namespace treld {
namespace {

// "COM1", or "Remote STS" and the address; the calendar reads a PC event
// text only up to a comma.
std::string linkName(const Core& c) {
    if (c.s.RemoteMode == 0)
        return "COM" + std::to_string(c.config.ComPort);
    std::string name = "Remote STS " + c.s.RemoteAddress;
    std::erase(name, ',');
    return name;
}

std::string lossText(const Core& c) {
    return "Link lost " + linkName(c);
}

}  // namespace

void watchLink(Core& c) {
    LinkHealth& link = c.link;
    if (link.unanswered == 0 || link.heardHour < 0) {
        const LocalDateTime now = c.platform.now();
        link.heardHour = now.hour;
        link.heardMinute = now.minute;
    }
    const bool down = link.unanswered >= kUnansweredForLoss;
    if (c.s.DemoMode == 0 && down != link.lost) {  // demo answers need no link
        link.lost = down;
        if (down) {
            forgetCachedReplies(c);
            blankSourcePanel(c);
            blankOutputPanel(c);
            link.lostTicks = 0;
            c.platform.startTimer(TimerId::ReopenTimer, kReopenMs);
            c.pcEvents.WritePcLog(kLinkLostEvent, lossText(c));
        } else {
            c.platform.stopTimer(TimerId::ReopenTimer);
            c.pcEvents.WritePcLog(kLinkRestoredEvent, "Link restored " + linkName(c));
        }
    }
    showLinkStale(c, link.lost && c.s.DemoMode == 0);
}

void onReopenTimer(Core& c) {
    if (c.s.DemoMode != 0)
        return;
    reopenComPort(c);
    c.link.lostTicks = std::min<Int16>(c.link.lostTicks + 1, kLossMailTicks + 1);
    if (c.link.lostTicks == kLossMailTicks && c.config.EmailEnable != 0)
        c.startMailProgram("1&&send++" + alarmMailHead(c), alarmMailDate(c) + "-" + lossText(c));
}

}  // namespace treld
