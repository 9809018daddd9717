#include "link/status_texts.h"

#include "link/line.h"

namespace treld {

void sayNoReply(LinkCore& c) {
    const Transport& transport = c.line.transport();
    if (transport.timeOut != Said::ComTimeOut)
        c.statusLine.say(transport.timeOut);
    else if (c.line.comReady() && !transport.simulated)
        c.statusLine.say(Said::ComTimeOut, {std::to_string(c.config.ComPort)});
    else
        sayPortNotOpened(c);
}

void sayPortNotOpened(LinkCore& c) {
    // In demo mode there is no port: the table lacked the answer.
    if (c.line.transport().simulated)
        c.statusLine.say(Said::DemoNoAnswer, {c.line.command()});
    else
        c.statusLine.say(Said::PortNotOpened, {std::to_string(c.config.ComPort)});
}

}  // namespace treld
