#include "link/relay_server.h"

#include <algorithm>

#include "link/demo_table.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/relay_guard.h"
#include "link/serial_link.h"
#include "link/status_texts.h"

namespace treld {
namespace {

// A relay answer on the wire: the text up to its first CR, then one CR,
// whether the text is the device's reply (which ends in a CR) or our own.
std::string relayLine(std::string_view text) {
    return std::string(text.substr(0, text.find('\r'))) + "\r";
}

}  // namespace

// The one writer of RelayState: each event handler below builds one for the
// time of the event.
class RelayServer {
  public:
    explicit RelayServer(Core& c) : c_(c), r_(c.relay) {}

    void accept();
    void receive(int slot, std::string_view data);
    void answerSent(int slot);
    void discardSlot(int slot);
    void dropIdleClients();
    void answerClient();
    void forward();
    void statusRead() { r_.statusRead_ = true; }

  private:
    using State = RelayState::SlotState;

    static bool validSlot(int slot) { return slot >= 1 && slot <= kRelaySlotCount; }
    bool inFlight(int slot) const {
        return c_.s.exchangeOwner == ExchangeOwner::Relay && r_.RelayClient == slot;
    }
    void removeQueuedRequest(int slot);
    void answerSlot(int slot, const std::string& line);
    void handleRequest(int slot);
    bool mayForward(const RelayState::Slot& s);
    void refuse(int slot);

    Core& c_;
    RelayState& r_;
};

void RelayServer::removeQueuedRequest(int slot) {
    std::erase_if(r_.queue_, [slot](const RelayState::Request& r) { return r.slot == slot; });
}

// Forgets a connection: its queued command goes, a command in flight for it
// is answered to nobody, so no later client of the slot gets its reply.
void RelayServer::discardSlot(int slot) {
    if (!validSlot(slot) || r_.slots_[slot].state == State::Free)
        return;
    removeQueuedRequest(slot);
    if (inFlight(slot))
        r_.RelayClient = 0;
    c_.platform.closeRelay(slot);
    r_.slots_[slot] = {};
}

// The connection closes once the answer has gone out (answerSent).
void RelayServer::answerSlot(int slot, const std::string& line) {
    if (!c_.platform.sendRelay(slot, line)) {
        discardSlot(slot);
        return;
    }
    r_.slots_[slot].state = State::Answered;
    r_.slots_[slot].idleSeconds = 0;
}

// Commands need a COMMAND: peer (or this PC), and a login its turn.
bool RelayServer::mayForward(const RelayState::Slot& s) {
    if (isReadRequest(s.request))
        return true;
    if (!r_.access.mayCommand(s.peer))
        return false;
    if (!isLoginRequest(s.request))
        return true;
    const LocalDateTime now = c_.platform.now();
    return r_.logins_.admit(s.peer, now.epochSeconds * 1000 + now.millisecond,
                            c_.status.loggedIn());
}

// Recorded in the event file; the status line names each peer once, so a
// client that keeps trying does not hide the link's own texts.
void RelayServer::refuse(int slot) {
    const RelayState::Slot& s = r_.slots_[slot];
    const std::string text = "Relay refused " + auditText(s.request) + " from " + s.peer;
    if (c_.writePcEvent)
        c_.writePcEvent(kRelayRefusedEvent, text);
    if (r_.refusalShown_.size() >= kRefusalNotesKept)
        r_.refusalShown_.clear();
    if (r_.refusalShown_.insert(s.peer).second)
        c_.ui(kStatusLine).setCaption(text);
    answerSlot(slot, relayLine(kRelayAccessDenied));
}

void RelayServer::handleRequest(int slot) {
    RelayState::Slot& s = r_.slots_[slot];
    if (s.request.empty()) {
        discardSlot(slot);  // nothing to ask: never costs the device an exchange
        return;
    }
    if (c_.s.RemoteMode != 0) {
        // This monitor watches another station; answering at once keeps
        // clients from piling up until it polls its own device again.
        answerSlot(slot, relayLine(kRelayCacheEmpty));
        return;
    }
    if (!mayForward(s)) {
        refuse(slot);
        return;
    }
    const std::string answer = LookupRelayRequest(c_, s.request);
    if (!answer.empty()) {
        answerSlot(slot, answer);
    } else if (r_.queue_.size() >= kRelayQueueLimit) {
        answerSlot(slot, relayLine(kRelayNoReply));
    } else {
        r_.queue_.push_back({static_cast<Int16>(slot), s.request});
        s.state = State::Waiting;
    }
}

void RelayServer::accept() {
    // Slots go round in order, but a busy one is skipped while another is
    // free: only a 16th simultaneous client displaces the oldest turn.
    const int first = r_.ServerSlot % kRelaySlotCount + 1;
    int slot = first;
    while (r_.slots_[slot].state != State::Free) {
        slot = slot % kRelaySlotCount + 1;
        if (slot == first)
            break;
    }
    r_.ServerSlot = static_cast<Int16>(slot);
    discardSlot(slot);
    const std::optional<std::string> peer = c_.platform.acceptRelay(slot);
    if (!peer)
        return;
    if (!r_.access.mayRead(*peer)) {
        c_.platform.closeRelay(slot);
        return;
    }
    r_.slots_[slot] = {State::Collecting, "", *peer};
}

void RelayServer::receive(int slot, std::string_view data) {
    if (!validSlot(slot))
        return;
    RelayState::Slot& s = r_.slots_[slot];
    if (s.state != State::Collecting) {
        discardSlot(slot);  // one request per connection: more is not a client
        return;
    }
    s.idleSeconds = 0;
    const std::size_t cr = data.find('\r');
    const std::size_t room = kRelayRequestLimit + 1 - s.request.size();
    s.request.append(data.substr(0, std::min(cr, room)));
    if (s.request.size() > kRelayRequestLimit) {
        discardSlot(slot);
        return;
    }
    if (cr != std::string_view::npos)
        handleRequest(slot);
}

void RelayServer::answerSent(int slot) {
    if (validSlot(slot) && r_.slots_[slot].state == State::Answered)
        discardSlot(slot);
}

void RelayServer::dropIdleClients() {
    for (int slot = 1; slot <= kRelaySlotCount; ++slot) {
        RelayState::Slot& s = r_.slots_[slot];
        if (s.state == State::Free || inFlight(slot) || ++s.idleSeconds <= kRelayIdleSeconds)
            continue;
        if (s.state == State::Waiting) {
            removeQueuedRequest(slot);
            answerSlot(slot, relayLine(kRelayNoReply));
        } else {
            discardSlot(slot);
        }
    }
}

void RelayServer::answerClient() {
    auto& s = c_.s;
    if (s.DemoMode != 0)
        OZELGELDI(c_);
    const Int16 slot = r_.RelayClient;
    closeExchange(c_);
    r_.RelayClient = 0;
    s.LastTab = 0;
    if (validSlot(slot))
        answerSlot(slot, relayLine(s.Reply.empty() ? kRelayNoReply : std::string_view(s.Reply)));
}

void RelayServer::forward() {
    if (r_.queue_.empty())
        return;
    const RelayState::Request next = std::move(r_.queue_.front());
    r_.queue_.pop_front();
    r_.RelayClient = next.slot;
    r_.statusRead_ = false;
    auto& s = c_.s;
    s.Reply.clear();
    s.ReceiveBuffer.clear();
    s.Command = next.command;
    s.exchangeOwner = ExchangeOwner::Relay;
    if (s.DemoMode == 0 && !writeToSerial(c_, next.command + "\r")) {
        s.Reply = relayLine(std::string(kRelayComFailed) + std::to_string(c_.config.ComPort));
    } else if (!isReadRequest(next.command) && c_.writePcEvent) {
        // Only a command that went out is audited.
        c_.writePcEvent(kRelayForwardedEvent,
                        "Relay " + auditText(next.command) + " from " + r_.slots_[next.slot].peer);
    }
    c_.platform.startTimer(TimerId::Timer1, s.DemoMode != 0 ? kDemoRelayWaitMs : kCommandWaitMs);
}

void startRelayServer(Core& c) {
    c.relay.access = readRelayAccess(c.programDir / "relay.cfg");
    // Port 0 would let the system choose one that no client knows.
    if (c.config.RemotePort <= 0 ||
        !c.platform.listenRelay(c.config.RemotePort, c.relay.access.listenAddress)) {
        c.ui(kDeviceMessage).setCaption(" port:" + std::to_string(c.config.RemotePort) + " in use");
        return;
    }
    if (!c.relay.access.badLines.empty())
        c.ui(kDeviceMessage)
            .setCaption("relay.cfg line " + std::to_string(c.relay.access.badLines.front()) +
                        " not understood");
    c.platform.startTimer(TimerId::RelayTimer, kRelayTimerMs);
}

void onRelayConnectionRequest(Core& c) {
    RelayServer(c).accept();
}

void onRelayData(Core& c, int slot, std::string_view data) {
    RelayServer(c).receive(slot, data);
}

void onRelaySendComplete(Core& c, int slot) {
    RelayServer(c).answerSent(slot);
}

void onRelayClosed(Core& c, int slot) {
    RelayServer(c).discardSlot(slot);
}

void dropIdleRelayClients(Core& c) {
    RelayServer(c).dropIdleClients();
}

std::string LookupRelayRequest(Core& c, std::string request) {
    std::erase(request, '\r');
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive != 1 || entry.TableCommand != request)
            continue;
        if (c.s.DemoMode != 0)
            return relayLine(entry.DemoReply);
        return relayLine(entry.CachedReply.empty() ? kRelayCacheEmpty : entry.CachedReply);
    }
    return "";
}

void answerRelayClient(Core& c) {
    RelayServer(c).answerClient();
}

void forwardRelayCommand(Core& c) {
    RelayServer(c).forward();
}

void relayStatusRead(Core& c) {
    RelayServer(c).statusRead();
}

}  // namespace treld
