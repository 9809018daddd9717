// A started monitor whose status decoding is fed records directly.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "status/sas_decoder.h"
#include "support/virtual_rig.h"

namespace treld::testing {

// An all-clear status record with the given characters put at their positions.
inline std::string statusRecord(std::initializer_list<std::pair<int, char>> set = {}) {
    std::string record = kSasReply;
    for (auto [position, ch] : set)
        record[position - 1] = ch;
    return record;
}

class StatusRig : public VirtualRig {
  public:
    explicit StatusRig(const std::string& config = "COMPORT:1\r\n") {
        writeConfig(config);
        start();
    }

    Core& core() { return monitor.core(); }
    Element& form1(std::string_view name) { return monitor.ui()(Form::Form1, name); }

    void feed(const std::string& reply) {
        core().s.Reply = reply;
        SASAYIKLA(core());
    }

    // Changing writes to every element of a window so far.
    int writesTo(Form form) {
        int writes = 0;
        for (const auto& [name, element] : monitor.ui().elements(form))
            writes += element.writes();
        return writes;
    }
};

}  // namespace treld::testing
