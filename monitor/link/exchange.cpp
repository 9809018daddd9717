#include "link/exchange.h"

#include <cstdio>

namespace treld {

void timeover(Core& c) {
    auto& s = c.s;
    std::string text;
    if (s.RemoteMode != 0) {
        text = "Remote STS communication time out";
    } else if (s.ComReady != 0) {
        text = "Time out on com" + std::to_string(c.config.ComPort);
    } else {
        text = "COM " + std::to_string(c.config.ComPort) + " Not opened select another port";
    }
    c.form1("Label40").setCaption(text);
    c.platform.startTimer(TimerId::Timer1, 3000);
    ++c.counters.timeOuts;
    c.counters.exchangesAtLastTimeOut = c.counters.exchanges;
}

void datahata(Core& c) {
    c.form1("Label40").setCaption("Data error " + c.s.CheckedCommand);
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
