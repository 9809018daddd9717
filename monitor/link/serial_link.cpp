#include "link/serial_link.h"

#include <array>

#include "link/command_slot.h"
#include "link/line.h"
#include "link/poll_timer.h"
#include "link/status_texts.h"

namespace treld {

// The port opens at 2400,N,8,1. One that does not open stays closed without
// a message (the first send reports it) and the link counts as lost.
bool Line::openPort(LinkCore& c) {
    const Int16 port = c.config.ComPort;
    health_.openPort = c.platform.openSerialPort(port) ? port : Int16{0};
    if (health_.openPort == 0 && transport().usesPort)
        health_.unanswered = kUnansweredForLoss;
    return health_.openPort != 0;
}

void Line::closePort(LinkCore& c) {
    if (health_.openPort != 0)
        c.platform.closeSerialPort();
    health_.openPort = 0;
}

// A port that fails or does not take the whole frame is failed.
bool Line::writeSerial(LinkCore& c, std::string_view frame) {
    if (c.platform.writeSerial(frame))
        return true;
    portFailed(c);
    return false;
}

// The transport's write: the command and its CR; ComReady says whether it
// went out.
void Line::writeToPort(LinkCore& c) {
    if (writeSerial(c, command_ + "\r"))
        comReady_ = 1;
}

void Line::portFailed(LinkCore& c) {
    closePort(c);
    comReady_ = 0;
    if (!transport().usesPort)
        return;
    health_.unanswered = kUnansweredForLoss;
    sayPortNotOpened(c);
}

// Polling starts again from SRV: nothing sent on the old line is waited for.
void Line::changePort(LinkCore& c) {
    if (health_.openPort == c.config.ComPort)
        return;
    closePort(c);
    if (openPort(c))
        c.statusLine.say(Said::Nothing);
    else
        sayPortNotOpened(c);
    if (owner_ == ExchangeOwner::Cycle)
        closeExchange();
    restartPolling();
}

void Line::reopenPort(LinkCore& c) {
    if (health_.openPort != 0 || c.config.ComPort <= 0 || !openPort(c) || !transport().usesPort)
        return;
    if (owner_ == ExchangeOwner::Cycle)
        closeExchange();
    restartPolling();
    wantTick(kFirstTickMs);
}

void Line::feedSerial(LinkCore& c, std::string_view chunk) {
    if (health_.openPort == 0)  // bytes read before the port was closed
        return;
    serialBuffer_.append(
        chunk.substr(0, kReceiveLimit - std::min(serialBuffer_.size(), kReceiveLimit)));
    // A reply is complete at its first CR: a device chattering after it
    // neither changes it nor postpones its evaluation.
    if (!reply_.empty() || serialBuffer_.find('\r') == std::string::npos)
        return;
    Element& indicator = c.ui(kReceiveIndicator);
    indicator.setCaption(indicator.caption() != "\\" ? "\\" : "/");
    complete(c, serialBuffer_);
}

bool isFixedReply(std::string_view reply) {
    static constexpr std::array<std::string_view, 4> kFixed = {"ACCESS DENIED\r", "LOGON PLEASE\r",
                                                               "INVALID DATA\r", "OK\r"};
    for (std::string_view fixed : kFixed) {
        if (reply == fixed)
            return true;
    }
    return false;
}

void showDeviceMessage(LinkCore& c, std::string_view text, int showMs) {
    if (keepAliveOnLine(c) && text == "OK\r")
        return;  // the device's last word to the operator stays
    c.ui(kDeviceMessage).setCaption(text);
    c.platform.startTimer(TimerId::Timer3, showMs);
}

void clearDeviceMessage(LinkCore& c) {
    c.ui(kDeviceMessage).setCaption("");
    c.platform.stopTimer(TimerId::Timer3);
}

}  // namespace treld
