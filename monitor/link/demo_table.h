// Demo mode: every command answered from the table read from DEMOSET.CFG.
// The same table names the poll commands whose replies the relay server caches.
#pragma once

#include "link/link_core.h"

namespace treld {

// The record every "LOG" command gets in demo mode.
inline constexpr std::string_view kDemoLogRecord = "$001 000 000 000 015 020 010 009 007";

// The "Demo set" tab's list of the loaded entries.
inline constexpr ElementName kDemoSetList{Form::Form1, "List2"};

void declareDemoSetElements(DisplayModel& ui);

// Start-up: reads DEMOSET.CFG from the program directory into CommandTable
// and List2. A missing file leaves the table empty.
void LoadDemoTable(LinkCore& c);

// The table's answer to a command sent by GONDERME (empty when none).
std::string DEMOGELDI(const LinkCore& c, std::string_view command);

// The answer to a queued operator command or a forwarded relay command:
// option writes are looked up by their first five characters ("W0" and the
// code).
std::string OZELGELDI(const LinkCore& c, std::string_view command);

}  // namespace treld
