#include "status/link_watch.h"

#include "link/exchange.h"
#include "link/line.h"
#include "link/measurements.h"
#include "status/alarms.h"
#include "status/stale_display.h"

namespace treld {
namespace {

// "COM1", or "Remote STS" and the address.
std::string linkName(const StatusCore& c) {
    return c.line.transport().eventName(c);
}

std::string lossText(const StatusCore& c) {
    return "Link lost " + linkName(c);
}

}  // namespace

void watchLink(StatusCore& c) {
    Line& line = c.line;
    line.heardAt(c.platform.now());
    const bool down = line.health().unanswered >= kUnansweredForLoss;
    const bool simulated = line.transport().simulated;  // demo answers need no link
    if (!simulated && down != line.health().lost) {
        line.setLost(down);
        if (down) {
            forgetCachedReplies(c);
            blankSourcePanel(c);
            blankOutputPanel(c);
            c.platform.startTimer(TimerId::ReopenTimer, kReopenMs);
            c.pcEvents.WritePcLog(kLinkLostEvent, lossText(c));
            c.recovery.linkLost(c.platform.now());
        } else {
            c.platform.stopTimer(TimerId::ReopenTimer);
            c.pcEvents.WritePcLog(kLinkRestoredEvent, "Link restored " + linkName(c));
            c.recovery.linkRestored(c.platform.now());
        }
    }
    showLinkStale(c, line.health().lost && !simulated);
}

void onReopenTimer(StatusCore& c) {
    if (c.line.transport().simulated)
        return;
    c.line.reopenPort(c);
    if (c.line.countLostTick(kLossMailTicks + 1) == kLossMailTicks && c.config.EmailEnable != 0)
        c.startMailProgram("1&&send++" + alarmMailHead(c), alarmMailDate(c) + "-" + lossText(c));
}

void mailRecovered(StatusCore& c, const std::string& recorded) {
    if (!recorded.empty() && c.line.transport().mailsAlarms && c.config.EmailEnable != 0)
        c.startMailProgram("1&&send++" + alarmMailHead(c), alarmMailDate(c) + recorded);
}

}  // namespace treld
