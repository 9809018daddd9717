#include "link/command_slot.h"

#include "link/demo_table.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/send.h"

namespace treld {

void queueCommand(Core& c, std::string command, std::string name) {
    c.s.namedCommand = command;
    c.s.commandName = std::move(name);
    c.s.PollState = std::move(command);
}

void queueKeepAlive(Core& c, std::string command) {
    c.s.keepAliveCommand = command;
    c.s.PollState = std::move(command);
}

bool keepAliveOnLine(const Core& c) {
    return !c.s.keepAliveCommand.empty() && c.s.Command == c.s.keepAliveCommand;
}

void showCommandReply(Core& c) {
    const auto& s = c.s;
    if (s.Reply.empty()) {
        timeover(c);
        return;
    }
    if (keepAliveOnLine(c) && s.Reply == "OK\r")
        return;
    // A command replaced in the slot after it went out is named by its code.
    std::string name = s.Command == s.namedCommand ? s.commandName : s.Command;
    if (keepAliveOnLine(c))
        name = "Login repeat";
    while (name.ends_with('\r'))
        name.pop_back();
    c.statusLine.say(Said::CommandReply, {name, s.Reply});
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
    if (c.s.DemoMode != 0) {  // the table answers when the wait is over
        c.platform.startTimer(TimerId::Timer1, kDemoCommandWaitMs);
        return;
    }
    GONDERME(c, ExchangeOwner::Operator);
    c.platform.startTimer(TimerId::Timer1, kCommandWaitMs);
}

void finishAwaitedCommand(Core& c) {
    auto& s = c.s;
    closeExchange(c);
    if (s.DemoMode != 0)
        OZELGELDI(c);
    if (!s.Reply.empty())
        showCommandReply(c);
    if (commandAwaited(c))  // a login's pause set meanwhile stays
        clearCommandSlot(c);
    // The cycle starts afresh (the options are read again after a write),
    // but the log download goes on from the record it had reached.
    if (c.selectedTab() != kLogTab) {
        s.LastTab = 0;
        s.PollStep = kFirstMeasurementStep;
    }
}

}  // namespace treld
