// The format test of the replies the monitor decodes: "SRV" and "OPL" (the
// measurement panels) and "SAS" (the status record). A reply that fails it
// counts for the link's health as one that never came.
#pragma once

#include <string_view>

namespace treld {

// Whether `reply` to `command` has the layout its decoder reads. Replies to
// other commands have no test, and a relay server's "Time out" is no reply
// to decode: both pass.
bool passesFormatTest(std::string_view command, std::string_view reply);

}  // namespace treld
