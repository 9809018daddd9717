// The line: the one exchange at a time between this monitor and the device,
// and the transport that carries it. The command on the wire, its reply, the
// receive buffers, whose exchange it is, ComReady and what the exchanges say
// of the link's health are private here; sending, feeding received bytes and
// taking an exchange's outcome are the only doors. The line never starts the
// poll timer: it says how long it wants to wait (takeWait) and the conductor
// sets Timer1.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/display_model.h"
#include "foundation/numeric.h"
#include "foundation/status_line.h"
#include "link/link_health.h"
#include "link/program_state.h"

namespace treld {

class Line;
struct LinkCore;

// Receive buffers never grow beyond this; a device that streams without a CR
// loses the overflow, a remote peer is disconnected, and the exchange times out.
inline constexpr std::size_t kReceiveLimit = 4096;

// One entry of the transport table (Line::transport): everything that differs
// between the serial port, a remote station's relay server and the demo
// table. Nothing outside the line asks which one is in use, only these.
struct Transport {
    std::string_view kind;   // "serial", "remote", "demo"
    std::string_view title;  // the main window's caption ends in "(" title ")"
    bool simulated;          // the demo table answers: there is no link to lose
    bool usesPort;           // the serial port carries the exchanges
    bool servesRelay;        // relay clients are served from this monitor's device
    bool mailsAlarms;        // alarms are mailed here (a remote station mails its own)
    Said timeOut;            // an unanswered command: ComTimeOut or RemoteTimeOut
    int answerWaitMs;        // a reply is complete: the next tick evaluates it
    int messageMs;           // how long the device message line shows a fixed reply
    int commandWaitMs;       // the wait for a queued operator command's reply
    int relayWaitMs;         // the wait for a forwarded relay command's reply
    // Writes the command of a newly opened exchange.
    void (Line::*write)(LinkCore& c);
    // The send indicator's name of the peer, the fleet's and the PC log's.
    std::string (*indicatorName)(const LinkCore& c);
    std::string (*peerName)(const LinkCore& c);
    std::string (*eventName)(const LinkCore& c);
};

class Line {
  public:
    // The transport table's entry in use: the one place that knows the mode.
    const Transport& transport() const;
    // Settings "Save": the demo table or the serial port.
    void useDemo(bool on) { demo_ = on; }
    // "Connect": 0 the local STS, 1..3 the station at `address`.
    void useStation(Int16 station, std::string address);
    const std::string& remoteAddress() const { return remoteAddress_; }

    // GONDERME: forgets any earlier reply, opens `owner`'s exchange and sends
    // `command` over the transport, asking for the reply time-out (or the
    // transport's wait for an operator or relay command). In demo mode the
    // table answers at once, an operator's or relay's command when its wait
    // is over (takeDeferredAnswer). A relay command goes to the local device
    // whatever the transport; false: the serial port lost it, and its reply
    // says so ("Can not open com" and the port).
    bool send(LinkCore& c, ExchangeOwner owner, std::string command);

    // An exchange is open: the command on the line has an owner who has not
    // taken its reply or time-out yet. Every Timer1 tick while one is open is
    // its outcome.
    bool exchangeOpen() const { return owner_ != ExchangeOwner::None; }
    ExchangeOwner owner() const { return owner_; }
    void closeExchange() { owner_ = ExchangeOwner::None; }
    const std::string& command() const { return command_; }
    // The complete reply to command(), with its CR; empty: none (yet).
    const std::string& reply() const { return reply_; }
    // Demo mode stands in for the device: an operator's or relay's command
    // gets the table's answer now, the clock and date commands "OK".
    void takeDeferredAnswer(const LinkCore& c);
    void simulateOk();

    // Received bytes (serial port, remote station); a reply completes at its
    // first CR, asks for the transport's short wait and keeps the link up.
    void feedSerial(LinkCore& c, std::string_view chunk);
    void remoteConnected(LinkCore& c);
    void feedRemote(LinkCore& c, std::string_view chunk);

    // The serial port (start-up, Settings, ReopenTimer, a failure). Opening
    // returns whether it opened; a failure closes it, and while it is the
    // link in use the status line says so and the link counts as lost.
    bool openPort(LinkCore& c);
    void portFailed(LinkCore& c);
    bool portOpen() const { return health_.openPort != 0; }
    // Settings chose another port: the old one is closed, the new one
    // opened, and polling starts again from SRV.
    void changePort(LinkCore& c);
    // ReopenTimer: a closed port is opened again; polling resumes from SRV
    // after a short wait.
    void reopenPort(LinkCore& c);

    // ComReady: the last command written to the serial port went out.
    bool comReady() const { return comReady_ != 0; }

    // The link's health, kept by the exchanges and read by the link watch.
    const LinkHealth& health() const { return health_; }
    void countTimeOut(LinkCore& c);
    // The link watch's own marks: when the device was last heard, whether
    // "Link lost" stands, ReopenTimer ticks since, the stale windows.
    void heardAt(const LocalDateTime& now);
    void setLost(bool lost);
    Int16 countLostTick(Int16 limit);
    void setStaleShown(bool shown) { health_.staleShown = shown; }

    // The poll timer's next interval, for the conductor alone; once asked
    // it is forgotten. restartPolling asks the next tick to start the cycle
    // from its top; wantTick asks for an interval (Settings, time-outs).
    std::optional<int> takeWait() { return std::exchange(wait_, std::nullopt); }
    void wantTick(int ms) { wait_ = ms; }
    void restartPolling() { restart_ = true; }
    bool takeRestart() { return std::exchange(restart_, false); }

  private:
    // The transport table; a remote station chosen while in demo mode keeps
    // the station's relay, mail and time-out rules.
    static const Transport kSerial, kRemote, kDemo, kDemoOverRemote;

    void open(ExchangeOwner owner, std::string command);
    void complete(LinkCore& c, std::string reply);
    void countReply(LinkCore& c);
    void closePort(LinkCore& c);
    bool writeSerial(LinkCore& c, std::string_view frame);
    void writeToPort(LinkCore& c);
    void connectRemote(LinkCore& c);
    void answerFromTable(LinkCore& c);

    bool demo_ = false;
    Int16 station_ = 0;  // 0: the local STS; 1..3: REMOTEIP1..3
    std::string remoteAddress_;
    std::string command_ = "SRV";
    std::string reply_;
    std::string serialBuffer_;
    std::string tcpBuffer_;
    ExchangeOwner owner_ = ExchangeOwner::None;
    Int16 comReady_ = 0;
    LinkHealth health_;
    std::optional<int> wait_;
    bool restart_ = false;
};

// The send indicator's first character alternates on every send.
std::string_view nextSendMark(const Element& indicator);

}  // namespace treld
