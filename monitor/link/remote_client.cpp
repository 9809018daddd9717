#include "link/remote_client.h"

#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/serial_link.h"

namespace treld {

void onRemoteConnected(Core& c) {
    c.platform.sendRemote(c.s.Command + "\r");
    c.s.Reply.clear();
}

void onRemoteData(Core& c, std::string_view chunk) {
    auto& s = c.s;
    if (!s.Reply.empty())
        return;  // this exchange is complete; anything more is not its reply
    const std::size_t cr = chunk.find('\r');
    const std::string_view beforeCr = chunk.substr(0, cr);
    if (s.TcpReceiveBuffer.size() + beforeCr.size() > kReceiveLimit) {
        // No reply is this long: the peer is dropped and the exchange times out.
        s.TcpReceiveBuffer.clear();
        c.platform.closeRemote();
        return;
    }
    s.TcpReceiveBuffer.append(beforeCr);
    if (cr == std::string_view::npos)
        return;

    s.Reply = s.TcpReceiveBuffer + "\r";
    countReply(c);
    c.platform.closeRemote();
    c.platform.startTimer(TimerId::Timer1, kTcpReplyMs);
    if (isFixedReply(s.Reply))
        showDeviceMessage(c, s.Reply, kTcpMessageMs);
    s.TcpReceiveBuffer.clear();
}

void onRemoteError(Core& c) {
    c.platform.closeRemote();
}

}  // namespace treld
