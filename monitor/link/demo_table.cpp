#include "link/demo_table.h"

#include <algorithm>
#include <array>

#include "foundation/file_append.h"

namespace treld {
namespace {

// More than 50 sensible entry lines ever need; a larger file is read only
// this far.
constexpr std::size_t kDemoFileLimit = 256 * 1024;

// The poll commands; only their entries take part in the relay cache.
constexpr std::array<std::string_view, 7> kPollKeys = {"SAS", "OPL", "SRV", "SST",
                                                       "FIR", "CLK", "DAT"};

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string answerFromTable(const LinkCore& c, std::string_view command, std::string_view key) {
    if (command.starts_with("LOG"))
        return std::string(kDemoLogRecord);
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = c.s.CommandTable[n];
        if (entry.TableCommand == key)
            return entry.DemoReply;
    }
    return {};
}

}  // namespace

void declareDemoSetElements(DisplayModel& ui) {
    ui.declare(kDemoSetList);
}

void LoadDemoTable(LinkCore& c) {
    Element& list = c.ui(kDemoSetList);
    list.clearItems();
    c.s.CommandTable = {};
    int n = 0;
    std::string problem;
    const std::string text =
        readFileStart(c.programDir / "DEMOSET.CFG", kDemoFileLimit, problem).value_or("");
    if (!problem.empty())
        c.statusLine.notice("DEMOSET.CFG skipped: " + problem + "; demo mode has no answers");
    forEachConfigLine(text, [&](std::string_view keyWithColon, std::string_view answer) {
        if (keyWithColon.empty())
            return true;  // no colon: not an entry
        if (++n > kCommandTableSize)
            return false;
        keyWithColon.remove_suffix(1);
        CommandTableEntry& entry = c.s.CommandTable[n];
        entry.TableCommand = trimSpaces(keyWithColon);
        entry.DemoReply = trimSpaces(answer);
        entry.TableActive = std::ranges::find(kPollKeys, entry.TableCommand) != kPollKeys.end();
        list.addItem(std::to_string(n) + "-" + entry.TableCommand + entry.DemoReply);
        return true;
    });
}

std::string DEMOGELDI(const LinkCore& c, std::string_view command) {
    return answerFromTable(c, command, command);
}

std::string OZELGELDI(const LinkCore& c, std::string_view command) {
    return answerFromTable(c, command, command.starts_with("W0") ? command.substr(0, 5) : command);
}

}  // namespace treld
