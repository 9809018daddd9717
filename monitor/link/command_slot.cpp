#include "link/command_slot.h"

#include "link/exchange.h"
#include "link/line.h"

namespace treld {

void queueCommand(LinkCore& c, std::string command, std::string name) {
    c.s.namedCommand = command;
    c.s.commandName = std::move(name);
    c.s.PollState = std::move(command);
}

void queueKeepAlive(LinkCore& c, std::string command) {
    c.s.keepAliveCommand = command;
    c.s.PollState = std::move(command);
}

bool keepAliveOnLine(const LinkCore& c) {
    return !c.s.keepAliveCommand.empty() && c.line.command() == c.s.keepAliveCommand;
}

std::optional<int> showCommandReply(LinkCore& c) {
    const auto& s = c.s;
    const std::string& reply = c.line.reply();
    const std::string& command = c.line.command();
    if (reply.empty())
        return timeover(c);
    if (keepAliveOnLine(c) && reply == "OK\r")
        return std::nullopt;
    // A command replaced in the slot after it went out is named by its code.
    std::string name = command == s.namedCommand ? s.commandName : command;
    if (keepAliveOnLine(c))
        name = "Login repeat";
    while (name.ends_with('\r'))
        name.pop_back();
    c.statusLine.say(Said::CommandReply, {name, reply});
    return std::nullopt;
}

void pausePolling(LinkCore& c) {
    c.s.PollState = kPause;
}

void clearCommandSlot(LinkCore& c) {
    c.s.PollState.clear();
}

bool pollingPaused(const LinkCore& c) {
    return c.s.PollState == kPause;
}

bool commandQueued(const LinkCore& c) {
    return !c.s.PollState.empty() && !pollingPaused(c) && !commandAwaited(c);
}

bool commandAwaited(const LinkCore& c) {
    return c.s.PollState == kAwaiting;
}

bool commandSlotFree(const LinkCore& c) {
    return c.s.PollState.empty();
}

PollNext takeQueuedCommand(LinkCore& c) {
    return {.command = std::exchange(c.s.PollState, std::string(kAwaiting)),
            .owner = ExchangeOwner::Operator};
}

PollNext finishAwaitedCommand(LinkCore& c) {
    PollNext next;
    c.line.closeExchange();
    c.line.takeDeferredAnswer(c);
    if (!c.line.reply().empty())
        showCommandReply(c);  // a reply: no time-out's wait
    if (commandAwaited(c))    // a login's pause set meanwhile stays
        clearCommandSlot(c);
    // The cycle starts afresh (the options are read again after a write),
    // but the log download goes on from the record it had reached.
    if (c.selectedTab() != kLogTab) {
        c.s.LastTab = 0;
        next.step = kFirstMeasurementStep;
    }
    return next;
}

}  // namespace treld
