#include "link/relay_server.h"

#include <algorithm>

#include "link/demo_table.h"

namespace treld {
namespace {

using State = RelaySlotState;

bool validSlot(int slot) {
    return slot >= 1 && slot <= kRelaySlotCount;
}

bool inFlight(const Core& c, int slot) {
    return c.s.RelayCommand == kAwaiting && c.s.RelayClient == slot;
}

void syncRelayPending(Core& c) {
    c.s.RelayPending = c.s.RelayQueue.empty() ? 0 : 1;
}

void removeQueuedRequest(Core& c, int slot) {
    std::erase_if(c.s.RelayQueue, [slot](const RelayRequest& r) { return r.slot == slot; });
    syncRelayPending(c);
}

// Forgets a connection: its queued command goes, a command in flight for it
// is answered to nobody, so no later client of the slot gets its reply.
void discardSlot(Core& c, int slot) {
    RelaySlot& r = c.s.RelaySlots[slot];
    if (r.state == State::Free)
        return;
    removeQueuedRequest(c, slot);
    if (inFlight(c, slot))
        c.s.RelayClient = 0;
    c.platform.closeRelay(slot);
    r = RelaySlot{};
}

// The connection closes once the answer has gone out (onRelaySendComplete).
void answerSlot(Core& c, int slot, const std::string& answer) {
    RelaySlot& r = c.s.RelaySlots[slot];
    if (!c.platform.sendRelay(slot, answer)) {
        discardSlot(c, slot);
        return;
    }
    r.state = State::Answered;
    r.idleSeconds = 0;
}

void handleRequest(Core& c, int slot) {
    RelaySlot& r = c.s.RelaySlots[slot];
    const std::string answer = LookupRelayRequest(c, r.request);
    if (!answer.empty()) {
        answerSlot(c, slot, answer);
    } else if (c.s.RelayQueue.size() >= kRelayQueueLimit) {
        answerSlot(c, slot, "Timeout\r");
    } else {
        c.s.RelayQueue.push_back({static_cast<Int16>(slot), r.request});
        syncRelayPending(c);
        r.state = State::Waiting;
    }
}

}  // namespace

void startRelayServer(Core& c) {
    // Port 0 would let the system choose one that no client knows.
    if (c.config.RemotePort <= 0 || !c.platform.listenRelay(c.config.RemotePort)) {
        c.form1("Label25").setCaption(" port:" + std::to_string(c.config.RemotePort) + " in use");
        return;
    }
    c.platform.startTimer(TimerId::RelayTimer, 1000);
}

void onRelayConnectionRequest(Core& c) {
    if (c.s.RemoteMode != 0)
        return;
    // Slots go round in order, but a busy one is skipped while another is
    // free: only a 16th simultaneous client displaces the oldest turn.
    const int first = c.s.ServerSlot % kRelaySlotCount + 1;
    int slot = first;
    while (c.s.RelaySlots[slot].state != State::Free) {
        slot = slot % kRelaySlotCount + 1;
        if (slot == first)
            break;
    }
    c.s.ServerSlot = static_cast<Int16>(slot);
    discardSlot(c, slot);
    if (c.platform.acceptRelay(slot))
        c.s.RelaySlots[slot].state = State::Collecting;
}

void onRelayData(Core& c, int slot, std::string_view data) {
    if (!validSlot(slot))
        return;
    RelaySlot& r = c.s.RelaySlots[slot];
    if (r.state != State::Collecting)
        return;  // one request per connection; the rest is not read
    r.idleSeconds = 0;
    const std::size_t cr = data.find('\r');
    const std::size_t room = kRelayRequestLimit + 1 - r.request.size();
    r.request.append(data.substr(0, std::min(cr, room)));
    if (r.request.size() > kRelayRequestLimit) {
        discardSlot(c, slot);
        return;
    }
    if (cr != std::string_view::npos)
        handleRequest(c, slot);
}

void onRelaySendComplete(Core& c, int slot) {
    if (validSlot(slot) && c.s.RelaySlots[slot].state == State::Answered)
        discardSlot(c, slot);
}

void onRelayClosed(Core& c, int slot) {
    if (validSlot(slot))
        discardSlot(c, slot);
}

void RelayTimer_Timer(Core& c) {
    for (int slot = 1; slot <= kRelaySlotCount; ++slot) {
        RelaySlot& r = c.s.RelaySlots[slot];
        if (r.state == State::Free || inFlight(c, slot) || ++r.idleSeconds <= kRelayIdleSeconds)
            continue;
        if (r.state == State::Waiting) {
            removeQueuedRequest(c, slot);
            answerSlot(c, slot, "Timeout\r");
        } else {
            discardSlot(c, slot);
        }
    }
}

std::string LookupRelayRequest(Core& c, std::string request) {
    std::erase(request, '\r');
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive != 1 || entry.TableCommand != request)
            continue;
        if (c.s.DemoMode != 0)
            return entry.DemoReply + "\r";
        if (!entry.CachedReply.empty())
            return entry.CachedReply + "\r";
        return "Time out\r";
    }
    return "";
}

bool relayAnswerDue(const Core& c) {
    return c.s.RelayCommand == kAwaiting;
}

void answerRelayClient(Core& c) {
    auto& s = c.s;
    if (s.DemoMode != 0)
        OZELGELDI(c);
    const Int16 slot = s.RelayClient;
    s.RelayCommand.clear();
    s.RelayClient = 0;
    s.LastTab = 0;
    if (validSlot(slot))
        answerSlot(c, slot, s.Reply.empty() ? std::string("Timeout\r") : s.Reply + "\r");
}

void forwardRelayCommand(Core& c) {
    auto& s = c.s;
    if (s.RelayQueue.empty())
        return;
    const RelayRequest next = std::move(s.RelayQueue.front());
    s.RelayQueue.pop_front();
    syncRelayPending(c);
    s.RelayClient = next.slot;
    s.Reply.clear();
    s.ReceiveBuffer.clear();
    s.Command = next.command;
    if (s.DemoMode == 0 && !c.platform.writeSerial(next.command + "\r")) {
        s.Reply = "Can not open com" + std::to_string(c.config.ComPort) + "\r";
    }
    s.RelayCommand = kAwaiting;
    c.platform.startTimer(TimerId::Timer1, s.DemoMode != 0 ? 50 : 3000);
}

}  // namespace treld
