#include "link/demo_table.h"

namespace treld {
namespace {

void answerFromTable(Core& c, std::string_view key) {
    if (c.s.Command.starts_with("LOG")) {
        c.s.Reply = kDemoLogRecord;
        return;
    }
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = c.s.CommandTable[n];
        if (!entry.TableCommand.empty() && entry.TableCommand == key) {
            c.s.Reply = entry.DemoReply;
            return;
        }
    }
}

}  // namespace

void DEMOGELDI(Core& c) {
    answerFromTable(c, c.s.Command);
}

void OZELGELDI(Core& c) {
    const std::string_view command = c.s.Command;
    answerFromTable(c, command.starts_with("W0") ? command.substr(0, 5) : command);
}

}  // namespace treld

namespace treld {

// Reading DEMOSET.CFG lands with demo mode.
void LoadDemoTable(Core&) {}

}  // namespace treld
