#include "link/relay_server.h"

#include <algorithm>

#include "foundation/text_encoding.h"
#include "link/line.h"
#include "link/relay_guard.h"
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
    explicit RelayServer(LinkCore& c) : c_(c), r_(c.relay) {}

    void accept();
    void receive(int slot, std::string_view data);
    void answerSent(int slot);
    void discardSlot(int slot);
    void tick();
    void listen();
    void answerClient();
    void forward();
    void statusRead() { r_.statusRead_ = true; }

  private:
    using State = RelayState::SlotState;

    static bool validSlot(int slot) { return slot >= 1 && slot <= kRelaySlotCount; }
    bool inFlight(int slot) const {
        return c_.line.owner() == ExchangeOwner::Relay && r_.RelayClient == slot;
    }
    void removeQueuedRequest(int slot);
    void answerSlot(int slot, const std::string& line);
    void handleRequest(int slot);
    bool mayForward(const RelayState::Slot& s);
    void refuse(int slot);
    std::int64_t nowMs();
    void dropIdleClients();
    void sayProblem(const std::string& text);

    LinkCore& c_;
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

std::int64_t RelayServer::nowMs() {
    const LocalDateTime now = c_.platform.now();
    return now.epochSeconds * 1000 + now.millisecond;
}

// Commands need a COMMAND: peer (or this PC), and a login its turn. Control
// characters are refused from anyone: what the device makes of them is not
// known, so a login could hide behind them.
bool RelayServer::mayForward(const RelayState::Slot& s) {
    if (holdsControlCharacter(s.request))
        return false;
    if (isReadRequest(s.request))
        return true;
    if (!r_.access.mayCommand(s.peer))
        return false;
    return !isLoginRequest(s.request) || r_.logins_.admit(s.peer, s.request, nowMs());
}

// A peer's first refusal is recorded in the event file and named in the
// status line; the ones after it only in a summary a minute (tick), so a
// client that keeps trying floods neither the file nor the link's own texts.
void RelayServer::refuse(int slot) {
    const RelayState::Slot& s = r_.slots_[slot];
    if (r_.refusals_.refused(s.peer, nowMs())) {
        const std::string request = auditText(s.request);
        c_.pcEvents.WritePcLog(kRelayRefusedEvent,
                               statusText(Said::RelayRefused, {request, s.peer}));
        c_.statusLine.say(Said::RelayRefused, {request, s.peer});
    }
    answerSlot(slot, relayLine(kRelayAccessDenied));
}

void RelayServer::handleRequest(int slot) {
    RelayState::Slot& s = r_.slots_[slot];
    if (s.request.empty()) {
        discardSlot(slot);  // nothing to ask: never costs the device an exchange
        return;
    }
    if (!c_.line.transport().servesRelay) {
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
    // LF is dropped as the device drops it: the request is classified, paced
    // and forwarded as the device will take it.
    for (const char ch : data.substr(0, cr)) {
        if (ch != '\n' && s.request.size() <= kRelayRequestLimit)
            s.request += ch;
    }
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
    c_.line.takeDeferredAnswer(c_);
    const Int16 slot = r_.RelayClient;
    c_.line.closeExchange();
    r_.RelayClient = 0;
    c_.s.LastTab = 0;
    const std::string& reply = c_.line.reply();
    if (validSlot(slot))
        answerSlot(slot, relayLine(reply.empty() ? kRelayNoReply : std::string_view(reply)));
}

void RelayServer::forward() {
    if (r_.queue_.empty())
        return;
    const RelayState::Request next = std::move(r_.queue_.front());
    r_.queue_.pop_front();
    r_.RelayClient = next.slot;
    r_.statusRead_ = false;
    // Only a command that went out is audited.
    if (GONDERME(c_, ExchangeOwner::Relay, next.command) && !isReadRequest(next.command))
        c_.pcEvents.WritePcLog(kRelayForwardedEvent, "Relay " + auditText(next.command) + " from " +
                                                         r_.slots_[next.slot].peer);
}

// Said as a notice (stderr, for a headless monitor, and the status line) when
// it changes; in the device message line at every try, where it stays until
// the device's next message.
void RelayServer::sayProblem(const std::string& text) {
    c_.ui(kDeviceMessage).setCaption(text);
    if (text == r_.problemSaid_)
        return;
    r_.problemSaid_ = text;
    c_.statusLine.notice("Relay server: " + text.substr(text.find_first_not_of(' ')));
}

// relay.cfg is read again at every try, so a corrected file counts at the
// next one.
void RelayServer::listen() {
    r_.access = readRelayAccess(c_.stationDir / "relay.cfg");
    const int port = c_.config.RemotePort;
    // Port 0 would let the system choose one that no client knows.
    r_.listening_ = r_.access.listenAllowed && port > 0 &&
                    c_.platform.listenRelay(port, r_.access.listenAddress);
    std::string problem = r_.access.problem();
    if (!r_.listening_ && r_.access.listenAllowed)
        problem +=
            (problem.empty() ? "" : ";") + std::string(" port:") + std::to_string(port) + " in use";
    if (!r_.listening_)
        problem += "; trying again every " + std::to_string(kRelayListenRetrySeconds) + " s";
    if (!problem.empty()) {
        sayProblem(problem);
    } else if (!r_.problemSaid_.empty()) {  // listening after all
        r_.problemSaid_.clear();
        c_.platform.writeStderr("Relay server: listening on port " + std::to_string(port));
        c_.ui(kDeviceMessage).setCaption("");
    }
    r_.secondsToRetry_ = kRelayListenRetrySeconds;
}

void RelayServer::tick() {
    dropIdleClients();
    for (const RefusalAudit::Summary& summary : r_.refusals_.dueSummaries(nowMs()))
        c_.pcEvents.WritePcLog(kRelayRefusedEvent,
                               "Relay refused " + std::to_string(summary.count) + " more from " +
                                   summary.peer + " within a minute");
    if (!r_.listening_ && --r_.secondsToRetry_ <= 0)
        listen();
}

void startRelayServer(LinkCore& c) {
    RelayServer(c).listen();
    c.platform.startTimer(TimerId::RelayTimer, kRelayTimerMs);
}

void onRelayConnectionRequest(LinkCore& c) {
    RelayServer(c).accept();
}

void onRelayData(LinkCore& c, int slot, std::string_view data) {
    RelayServer(c).receive(slot, data);
}

void onRelaySendComplete(LinkCore& c, int slot) {
    RelayServer(c).answerSent(slot);
}

void onRelayClosed(LinkCore& c, int slot) {
    RelayServer(c).discardSlot(slot);
}

void onRelayTimer(LinkCore& c) {
    RelayServer(c).tick();
}

std::string LookupRelayRequest(LinkCore& c, std::string request) {
    std::erase(request, '\r');
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive != 1 || entry.TableCommand != request)
            continue;
        if (c.line.transport().simulated)
            return relayLine(entry.DemoReply);
        return relayLine(entry.CachedReply.empty() ? kRelayCacheEmpty : entry.CachedReply);
    }
    return "";
}

void answerRelayClient(LinkCore& c) {
    RelayServer(c).answerClient();
}

void forwardRelayCommand(LinkCore& c) {
    RelayServer(c).forward();
}

void relayStatusRead(LinkCore& c) {
    RelayServer(c).statusRead();
}

}  // namespace treld
