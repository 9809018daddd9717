#include "device/options_cycle.h"

#include "device/device_controls.h"
#include "device/option_editor.h"
#include "device/option_table.h"
#include "link/command_slot.h"
#include "link/demo_table.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/send.h"
#include "status/sas_decoder.h"

namespace treld {
namespace {

constexpr Int16 kStatusStep = kFirstOptionsStep + 2 * kOptionCount;  // 126

// After every reply: a command queued meanwhile goes out now. Returns false
// when that ends the tick, so the reply just read is not used.
bool commonReplyStep(Core& c) {
    auto& s = c.s;
    ++s.PollStep;
    if (!commandQueued(c)) {
        c.platform.startTimer(TimerId::Timer1, kCyclePaceMs);
        return true;
    }
    if (s.DemoMode == 0) {
        sendQueuedCommand(c);
        return false;
    }
    takeQueuedCommand(c);
    OZELGELDI(c);
    s.PollStep = kFirstMeasurementStep;
    c.platform.startTimer(TimerId::Timer1, kCyclePaceMs);
    return true;
}

void showOption(Core& c, const OptionSpec& option, Int16 value) {
    Element& shown = c.ui(kOptionValues, option.number);
    if (option.kind == OptionKind::Number) {
        shown.setCaption(std::to_string(value));
        return;
    }
    const Int16 v = static_cast<Int16>(value & option.mask);
    shown.setCaption(option.valueTexts[v]);
    c.options.OptionValues[option.number] = v;
}

}  // namespace

void OPTIONS(Core& c) {
    auto& s = c.s;
    const Int16 step = s.PollStep;
    if (step < kFirstOptionsStep || step > kStatusStep + 1) {
        s.PollStep = kFirstOptionsStep;
        return;
    }
    const int n = (step - kFirstOptionsStep) / 2;  // kOptionCount for the status poll
    if (step % 2 == 0) {
        s.Command = n < kOptionCount ? std::string(kOptionTable[n].readCommand) : "SAS";
        GONDERME(c);
        return;
    }
    if (s.Reply.empty()) {
        timeover(c);
        // The same request goes out again: the cycle never skips an option.
        s.PollStep = n < kOptionCount ? static_cast<Int16>(step - 1) : kFirstOptionsStep;
        return;
    }
    const Int16 value = optionReplyValue(s.Reply);
    queueDueOptionWrite(c);
    if (!commonReplyStep(c))
        return;
    if (n < kOptionCount) {
        showOption(c, kOptionTable[n], value);
        return;
    }
    SASAYIKLA(c);
    if (s.OptionsRefresh != 0)
        loadOptionEditor(c);
    s.PollStep = kFirstOptionsStep;
}

}  // namespace treld
