#include "link/status_texts.h"

#include "link/line.h"

namespace treld {

void showDataOk(Core& c) {
    if (!c.noticeShown())
        c.ui(kStatusLine).setCaption(kDataOk);
}

std::string linkFaultText(const Core& c, LinkFault fault) {
    const std::string port = std::to_string(c.config.ComPort);
    // In demo mode there is no port: the table lacked the answer.
    if (c.line.transport().simulated &&
        (fault == LinkFault::ComTimeOut || fault == LinkFault::PortNotOpened))
        return "Demo: DEMOSET.CFG has no answer to " + c.line.command();
    switch (fault) {
        case LinkFault::ComTimeOut:
            return "Time out on com" + port;
        case LinkFault::PortNotOpened:
            return "COM " + port + " Not opened select another port";
        case LinkFault::RemoteTimeOut:
            return "Remote STS communication time out";
        case LinkFault::DataError:
            return "Data error " + c.s.CheckedCommand;
    }
    return {};
}

}  // namespace treld
