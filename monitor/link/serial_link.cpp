#include "link/serial_link.h"

#include <array>

#include "link/command_slot.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/status_texts.h"

namespace treld {

namespace {

bool serialInUse(const Core& c) {
    return c.s.DemoMode == 0 && c.s.RemoteMode == 0;
}

void closePort(Core& c) {
    if (c.link.openPort != 0)
        c.platform.closeSerialPort();
    c.link.openPort = 0;
}

// Polling starts again from SRV: nothing sent on the old line is waited for.
void restartPolling(Core& c) {
    if (c.s.exchangeOwner == ExchangeOwner::Cycle)
        closeExchange(c);
    c.s.PollStep = kFirstMeasurementStep;
}

}  // namespace

bool OpenComPort(Core& c) {
    const Int16 port = c.config.ComPort;
    c.link.openPort = c.platform.openSerialPort(port) ? port : Int16{0};
    if (c.link.openPort == 0 && serialInUse(c))
        c.link.unanswered = kUnansweredForLoss;
    return c.link.openPort != 0;
}

bool writeCommandToSerial(Core& c, std::string_view command) {
    if (!writeToSerial(c, std::string(command) + '\r'))
        return false;
    c.s.ComReady = 1;
    return true;
}

bool writeToSerial(Core& c, std::string_view frame) {
    if (c.platform.writeSerial(frame))
        return true;
    serialPortFailed(c);
    return false;
}

void serialPortFailed(Core& c) {
    closePort(c);
    c.s.ComReady = 0;
    if (!serialInUse(c))
        return;
    c.link.unanswered = kUnansweredForLoss;
    sayPortNotOpened(c);
}

void changeComPort(Core& c) {
    if (c.link.openPort == c.config.ComPort)
        return;
    closePort(c);
    if (OpenComPort(c))
        c.statusLine.say(Said::Nothing);
    else
        sayPortNotOpened(c);
    restartPolling(c);
}

void reopenComPort(Core& c) {
    if (c.link.openPort != 0 || c.config.ComPort <= 0 || !OpenComPort(c) || !serialInUse(c))
        return;
    restartPolling(c);
    c.platform.startTimer(TimerId::Timer1, kFirstTickMs);
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

void showDeviceMessage(Core& c, std::string_view text, int showMs) {
    if (keepAliveOnLine(c) && text == "OK\r")
        return;  // the device's last word to the operator stays
    c.ui(kDeviceMessage).setCaption(text);
    c.platform.startTimer(TimerId::Timer3, showMs);
}

void onSerialReceive(Core& c, std::string_view chunk) {
    if (c.link.openPort == 0)  // bytes read before the port was closed
        return;
    auto& buffer = c.s.ReceiveBuffer;
    buffer.append(chunk.substr(0, kReceiveLimit - std::min(buffer.size(), kReceiveLimit)));
    // A reply is complete at its first CR: a device chattering after it
    // neither changes it nor postpones its evaluation.
    if (!c.s.Reply.empty() || buffer.find('\r') == std::string::npos)
        return;

    Element& indicator = c.ui(kReceiveIndicator);
    indicator.setCaption(indicator.caption() != "\\" ? "\\" : "/");
    c.s.Reply = buffer;
    countReply(c);
    c.platform.startTimer(TimerId::Timer1, kSerialReplyMs);
    if (isFixedReply(buffer))
        showDeviceMessage(c, buffer, kSerialMessageMs);
}

void clearDeviceMessage(Core& c) {
    c.ui(kDeviceMessage).setCaption("");
    c.platform.stopTimer(TimerId::Timer3);
}

}  // namespace treld
