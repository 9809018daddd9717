#include "link/status_texts.h"

namespace treld {

void sayNoReply(Core& c) {
    if (c.s.RemoteMode != 0)
        c.statusLine.say(Said::RemoteTimeOut);
    else if (c.s.ComReady != 0 && c.s.DemoMode == 0)
        c.statusLine.say(Said::ComTimeOut, {std::to_string(c.config.ComPort)});
    else
        sayPortNotOpened(c);
}

void sayPortNotOpened(Core& c) {
    // In demo mode there is no port: the table lacked the answer.
    if (c.s.DemoMode != 0)
        c.statusLine.say(Said::DemoNoAnswer, {c.s.Command});
    else
        c.statusLine.say(Said::PortNotOpened, {std::to_string(c.config.ComPort)});
}

}  // namespace treld
