#include "link/command_slot.h"

#include "link/demo_table.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/send.h"

namespace treld {

void queueCommand(Core& c, std::string command) {
    c.s.PollState = std::move(command);
}

void pausePolling(Core& c) {
    c.s.PollState = kPause;
}

void clearCommandSlot(Core& c) {
    c.s.PollState.clear();
}

bool pollingPaused(const Core& c) {
    return c.s.PollState == kPause;
}

bool commandQueued(const Core& c) {
    return !c.s.PollState.empty() && !pollingPaused(c) && !commandAwaited(c);
}

bool commandAwaited(const Core& c) {
    return c.s.PollState == kAwaiting;
}

bool commandSlotFree(const Core& c) {
    return c.s.PollState.empty();
}

void takeQueuedCommand(Core& c) {
    auto& s = c.s;
    s.Reply.clear();
    s.ReceiveBuffer.clear();
    s.Command = s.PollState;
    s.PollState = kAwaiting;
    s.exchangeOwner = ExchangeOwner::Operator;
}

void sendQueuedCommand(Core& c) {
    takeQueuedCommand(c);
    GONDERME(c, ExchangeOwner::Operator);
    c.platform.startTimer(TimerId::Timer1, kCommandWaitMs);
}

void finishAwaitedCommand(Core& c) {
    auto& s = c.s;
    closeExchange(c);
    if (s.DemoMode != 0)
        OZELGELDI(c);
    if (!s.Reply.empty())
        c.ui(kStatusLine).setCaption(s.Reply);
    if (commandAwaited(c))  // a login's pause set meanwhile stays
        clearCommandSlot(c);
    s.LastTab = 0;
    s.PollStep = kFirstMeasurementStep;
}

}  // namespace treld
