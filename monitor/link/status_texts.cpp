#include "link/status_texts.h"

namespace treld {

std::string linkFaultText(const Core& c, LinkFault fault) {
    const std::string port = std::to_string(c.config.ComPort);
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
