#include "link/line.h"

#include <algorithm>

#include "link/demo_table.h"
#include "link/link_core.h"
#include "link/poll_timer.h"
#include "link/reply_format.h"
#include "link/serial_link.h"
#include "link/status_texts.h"

namespace treld {
namespace {

std::string localPort(const LinkCore& c) {
    return "COM" + std::to_string(c.config.ComPort);
}

// The calendar reads a PC event text only up to a comma.
std::string remoteStation(const LinkCore& c) {
    std::string name = "Remote STS " + c.line.remoteAddress();
    std::erase(name, ',');
    return name;
}

}  // namespace

const Transport Line::kSerial{
    .kind = "serial",
    .title = "Local",
    .simulated = false,
    .usesPort = true,
    .servesRelay = true,
    .mailsAlarms = true,
    .timeOut = Said::ComTimeOut,
    .answerWaitMs = kSerialReplyMs,
    .messageMs = kSerialMessageMs,
    .commandWaitMs = kCommandWaitMs,
    .relayWaitMs = kCommandWaitMs,
    .write = &Line::writeToPort,
    .indicatorName =
        [](const LinkCore& c) { return "Local STS/com" + std::to_string(c.config.ComPort); },
    .peerName = localPort,
    .eventName = localPort,
};

const Transport Line::kRemote{
    .kind = "remote",
    .title = "Remote",
    .simulated = false,
    .usesPort = false,
    .servesRelay = false,
    .mailsAlarms = false,
    .timeOut = Said::RemoteTimeOut,
    .answerWaitMs = kTcpReplyMs,
    .messageMs = kTcpMessageMs,
    .commandWaitMs = kCommandWaitMs,
    .relayWaitMs = kCommandWaitMs,
    .write = &Line::connectRemote,
    .indicatorName =
        [](const LinkCore& c) {
            return c.line.remoteAddress() + "/" + std::to_string(c.config.RemotePort);
        },
    .peerName =
        [](const LinkCore& c) {
            return c.line.remoteAddress() + ":" + std::to_string(c.config.RemotePort);
        },
    .eventName = remoteStation,
};

const Transport Line::kDemo{
    .kind = "demo",
    .title = kDemoAnswersText,
    .simulated = true,
    .usesPort = false,
    .servesRelay = true,
    .mailsAlarms = true,
    .timeOut = Said::ComTimeOut,
    .answerWaitMs = kDemoAnswerMs,
    .messageMs = kSerialMessageMs,
    .commandWaitMs = kDemoCommandWaitMs,
    .relayWaitMs = kDemoRelayWaitMs,
    .write = &Line::answerFromTable,
    // Nothing on screen may pass for a real device's answer.
    .indicatorName = [](const LinkCore&) { return std::string(kDemoAnswersText); },
    .peerName = [](const LinkCore&) { return std::string(); },
    .eventName = localPort,
};

const Transport Line::kDemoOverRemote = [] {
    Transport t = kDemo;
    t.servesRelay = false;
    t.mailsAlarms = false;
    t.timeOut = Said::RemoteTimeOut;
    t.eventName = remoteStation;
    return t;
}();

std::string_view nextSendMark(const Element& indicator) {
    return indicator.caption().starts_with('/') ? "\\" : "/";
}

const Transport& Line::transport() const {
    if (demo_)
        return station_ != 0 ? kDemoOverRemote : kDemo;
    return station_ != 0 ? kRemote : kSerial;
}

void Line::useStation(Int16 station, std::string address) {
    station_ = station;
    if (station != 0)
        remoteAddress_ = std::move(address);
}

void Line::open(ExchangeOwner owner, std::string command) {
    command_ = std::move(command);
    reply_.clear();
    serialBuffer_.clear();
    owner_ = owner;
}

bool Line::send(LinkCore& c, ExchangeOwner owner, std::string command) {
    const Transport& t = transport();
    open(owner, std::move(command));
    if (owner == ExchangeOwner::Relay) {
        // As the client sent it, past the send indicator; the demo table
        // answers once the wait is over.
        wait_ = t.relayWaitMs;
        if (t.simulated || writeSerial(c, command_ + "\r"))
            return true;
        reply_ = std::string(kRelayComFailed) + std::to_string(c.config.ComPort) + "\r";
        return false;
    }
    if (owner == ExchangeOwner::Operator && t.simulated) {
        wait_ = t.commandWaitMs;  // the table answers once the wait is over
        return true;
    }
    ++c.counters.exchanges;
    Element& indicator = c.ui(kSendIndicator);
    indicator.setCaption(std::string(nextSendMark(indicator)) + t.indicatorName(c));
    wait_ = owner == ExchangeOwner::Operator ? t.commandWaitMs : c.replyTimeoutMs();
    (this->*t.write)(c);
    return true;
}

void Line::answerFromTable(LinkCore& c) {
    complete(c, DEMOGELDI(c, command_));
}

void Line::takeDeferredAnswer(const LinkCore& c) {
    if (transport().simulated)
        reply_ = OZELGELDI(c, command_);
}

void Line::simulateOk() {
    reply_ = "OK";
}

// Every transport's reply ends here: kept, counted for the link's health
// (the demo table's answers say nothing of a link), evaluated after the
// transport's short wait, and a fixed reply shown for its message time.
void Line::complete(LinkCore& c, std::string reply) {
    const Transport& t = transport();
    reply_ = std::move(reply);
    if (!t.simulated)
        countReply(c);
    wait_ = t.answerWaitMs;
    if (isFixedReply(reply_))
        showDeviceMessage(c, reply_, t.messageMs);
}

// A reply that fails its format test counts as unanswered: a noisy line or
// a wrong baud rate is a lost link, not a healthy one.
void Line::countReply(LinkCore& c) {
    if (passesFormatTest(command_, reply_))
        health_.unanswered = 0;
    else
        countTimeOut(c);
}

void Line::countTimeOut(LinkCore& c) {
    ++c.counters.timeOuts;
    health_.unanswered = std::min<Int16>(health_.unanswered + 1, kUnansweredForLoss);
}

void Line::heardAt(const LocalDateTime& now) {
    if (health_.unanswered != 0 && health_.heardHour >= 0)
        return;
    health_.heardHour = now.hour;
    health_.heardMinute = now.minute;
}

void Line::setLost(bool lost) {
    health_.lost = lost;
    if (lost)
        health_.lostTicks = 0;
}

Int16 Line::countLostTick(Int16 limit) {
    health_.lostTicks = std::min<Int16>(health_.lostTicks + 1, limit);
    return health_.lostTicks;
}

}  // namespace treld
