#include "link/exchange.h"

#include <cstdio>

#include "link/line.h"
#include "link/poll_timer.h"
#include "link/status_texts.h"

namespace treld {

int timeover(LinkCore& c) {
    sayNoReply(c);
    c.line.countTimeOut(c);
    return kCommandWaitMs;
}

void datahata(LinkCore& c) {
    c.statusLine.say(Said::DataError, {c.s.CheckedCommand});
}

void GELENBAFIRKOY(LinkCore& c) {
    for (int n = 1; n <= kCommandTableSize; ++n) {
        CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive == 1 && entry.TableCommand == c.line.command()) {
            entry.CachedReply = c.line.reply();
            return;
        }
    }
}

void GELENBAFIRSIFIR(LinkCore& c) {
    if (c.line.transport().simulated)
        return;
    for (int n = 1; n <= kCommandTableSize; ++n) {
        CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive == 1 && entry.TableCommand == c.line.command()) {
            entry.CachedReply.clear();
            return;
        }
    }
}

void forgetCachedReplies(LinkCore& c) {
    for (CommandTableEntry& entry : c.s.CommandTable)
        entry.CachedReply.clear();
}

std::string clockCommand(const LocalDateTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "ACL%02d:%02d\r", now.hour % 100, now.minute % 100);
    return text;
}

std::string dateCommand(const LocalDateTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "AD%02d%02d%02d\r", now.day % 100, now.month % 100,
                  now.year % 100);
    return text;
}

}  // namespace treld
