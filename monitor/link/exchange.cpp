#include "link/exchange.h"

#include <algorithm>
#include <cstdio>

#include "link/poll_timer.h"
#include "link/reply_format.h"
#include "link/status_texts.h"

namespace treld {

bool exchangeOpen(const Core& c) {
    return c.s.exchangeOwner != ExchangeOwner::None;
}

void closeExchange(Core& c) {
    c.s.exchangeOwner = ExchangeOwner::None;
}

void timeover(Core& c) {
    sayNoReply(c);
    c.platform.startTimer(TimerId::Timer1, kCommandWaitMs);
    countTimeOut(c);
}

void countTimeOut(Core& c) {
    ++c.counters.timeOuts;
    c.link.unanswered = std::min<Int16>(c.link.unanswered + 1, kUnansweredForLoss);
}

void countReply(Core& c) {
    if (passesFormatTest(c.s.Command, c.s.Reply))
        c.link.unanswered = 0;
    else
        countTimeOut(c);
}

void datahata(Core& c) {
    c.statusLine.say(Said::DataError, {c.s.CheckedCommand});
}

void GELENBAFIRKOY(Core& c) {
    for (int n = 1; n <= kCommandTableSize; ++n) {
        CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive == 1 && entry.TableCommand == c.s.Command) {
            entry.CachedReply = c.s.Reply;
            return;
        }
    }
}

void GELENBAFIRSIFIR(Core& c) {
    if (c.s.DemoMode != 0)
        return;
    for (int n = 1; n <= kCommandTableSize; ++n) {
        CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableActive == 1 && entry.TableCommand == c.s.Command) {
            entry.CachedReply.clear();
            return;
        }
    }
}

void forgetCachedReplies(Core& c) {
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
