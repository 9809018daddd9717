// The line's remote side: in remote mode every command travels over its own
// TCP connection to the relay server of the monitor that has the device.
#include "link/line.h"

#include "link/link_core.h"

namespace treld {

// The transport's write: a new connection, whose command goes out once it
// stands (remoteConnected).
void Line::connectRemote(LinkCore& c) {
    c.platform.closeRemote();
    tcpBuffer_.clear();
    c.platform.connectRemote(remoteAddress_, c.config.RemotePort);
}

void Line::remoteConnected(LinkCore& c) {
    c.platform.sendRemote(command_ + "\r");
    reply_.clear();
}

void Line::feedRemote(LinkCore& c, std::string_view chunk) {
    if (!reply_.empty())
        return;  // this exchange is complete; anything more is not its reply
    const std::size_t cr = chunk.find('\r');
    const std::string_view beforeCr = chunk.substr(0, cr);
    if (tcpBuffer_.size() + beforeCr.size() > kReceiveLimit) {
        // No reply is this long: the peer is dropped and the exchange times out.
        tcpBuffer_.clear();
        c.platform.closeRemote();
        return;
    }
    tcpBuffer_.append(beforeCr);
    if (cr == std::string_view::npos)
        return;
    c.platform.closeRemote();
    complete(c, tcpBuffer_ + "\r");
    tcpBuffer_.clear();
}

}  // namespace treld
