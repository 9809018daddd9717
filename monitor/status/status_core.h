// The status layer's state: the device status as last decoded, and how the
// last login ended.
#pragma once

#include <string>

#include "records/records_core.h"
#include "status/decoded_status.h"

namespace treld {

// A login that ends without the operator's "Logout" is said in the title
// until the next login.
struct LoginLapse {
    // "Logout" was chosen since the last status that showed no login.
    bool logoutAsked = false;
    // hh:mm when a login ended that the operator did not end; empty: none.
    std::string lapsedAt;
};

struct StatusCore : RecordsCore {
    using RecordsCore::RecordsCore;

    DecodedStatus status;
    LoginLapse lapse;
};

}  // namespace treld
