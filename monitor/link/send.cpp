#include "link/send.h"

#include "link/demo_table.h"
#include "link/poll_timer.h"
#include "link/serial_link.h"

namespace treld {

std::string_view nextSendMark(const Element& indicator) {
    return indicator.caption().starts_with('/') ? "\\" : "/";
}

void GONDERME(Core& c, ExchangeOwner owner) {
    auto& s = c.s;
    if (owner == ExchangeOwner::Cycle)
        ++s.PollStep;
    ++c.counters.exchanges;
    s.Reply.clear();
    s.ReceiveBuffer.clear();
    s.exchangeOwner = owner;

    Element& indicator = c.ui(kSendIndicator);
    if (s.DemoMode != 0) {
        // Nothing on screen may pass for a real device's answer.
        indicator.setCaption(std::string(nextSendMark(indicator)).append(kDemoAnswersText));
        c.platform.startTimer(TimerId::Timer1, kDemoAnswerMs);
        DEMOGELDI(c);
        return;
    }
    if (s.RemoteMode != 0) {
        c.platform.closeRemote();
        s.TcpReceiveBuffer.clear();
        indicator.setCaption(std::string(nextSendMark(indicator)) + s.RemoteAddress + "/" +
                             std::to_string(c.config.RemotePort));
        c.platform.connectRemote(s.RemoteAddress, c.config.RemotePort);
    } else {
        indicator.setCaption(std::string(nextSendMark(indicator)) + "Local STS/com" +
                             std::to_string(c.config.ComPort));
        writeCommandToSerial(c, s.Command);
    }
    c.platform.startTimer(TimerId::Timer1, c.replyTimeoutMs());
}

}  // namespace treld
