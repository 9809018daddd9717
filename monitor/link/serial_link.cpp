#include "link/serial_link.h"

#include <array>

#include "link/poll_timer.h"
#include "link/status_texts.h"

namespace treld {

void OpenComPort(Core& c) {
    c.platform.openSerialPort(c.config.ComPort);
}

bool writeCommandToSerial(Core& c, std::string_view command) {
    std::string frame(command);
    frame += '\r';
    if (c.platform.writeSerial(frame)) {
        c.s.ComReady = 1;
        return true;
    }
    c.s.ComReady = 0;
    c.ui(kStatusLine).setCaption(linkFaultText(c, LinkFault::PortNotOpened));
    return false;
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
    c.ui(kDeviceMessage).setCaption(text);
    c.platform.startTimer(TimerId::Timer3, showMs);
}

void onSerialReceive(Core& c, std::string_view chunk) {
    auto& buffer = c.s.ReceiveBuffer;
    buffer.append(chunk.substr(0, kReceiveLimit - std::min(buffer.size(), kReceiveLimit)));
    if (buffer.find('\r') == std::string::npos)
        return;

    Element& indicator = c.ui(kReceiveIndicator);
    indicator.setCaption(indicator.caption() != "\\" ? "\\" : "/");
    c.s.Reply = buffer;
    c.platform.startTimer(TimerId::Timer1, kSerialReplyMs);
    if (isFixedReply(buffer))
        showDeviceMessage(c, buffer, kSerialMessageMs);
}

void clearDeviceMessage(Core& c) {
    c.ui(kDeviceMessage).setCaption("");
    c.platform.stopTimer(TimerId::Timer3);
}

}  // namespace treld
