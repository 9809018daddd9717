#include "device/options_cycle.h"

#include "device/device_controls.h"
#include "device/option_editor.h"
#include "device/option_table.h"
#include "link/command_slot.h"
#include "link/exchange.h"
#include "link/line.h"
#include "status/sas_decoder.h"

namespace treld {
namespace {

constexpr Int16 kStatusStep = kFirstOptionsStep + 2 * kOptionCount;  // 126

// After every reply the cycle goes on, unless a command was queued meanwhile:
// it is returned, to go out now, and the reply just read is not used. In
// demo mode the table answers it at once, and the cycle starts again from
// the top.
PollNext afterReply(DeviceCore& c, Int16 step) {
    if (!commandQueued(c))
        return {.step = static_cast<Int16>(step + 1), .waitMs = kCyclePaceMs};
    PollNext queued = takeQueuedCommand(c);
    if (!c.line.transport().simulated) {
        queued.step = static_cast<Int16>(step + 1);
        return queued;
    }
    GONDERME(c, queued.owner, std::move(queued.command));
    c.line.takeDeferredAnswer(c);
    return {.step = kFirstMeasurementStep, .waitMs = kCyclePaceMs};
}

void showOption(DeviceCore& c, const OptionSpec& option, Int16 value) {
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

PollNext OPTIONS(DeviceCore& c) {
    const Int16 step = c.s.PollStep;
    if (step < kFirstOptionsStep || step > kStatusStep + 1)
        return {.step = kFirstOptionsStep};
    const int n = (step - kFirstOptionsStep) / 2;  // kOptionCount for the status poll
    if (step % 2 == 0)
        return {.command = n < kOptionCount ? std::string(kOptionTable[n].readCommand) : "SAS"};
    if (c.line.reply().empty()) {
        // The same request goes out again: the cycle never skips an option.
        const int wait = timeover(c);
        return {.step = n < kOptionCount ? static_cast<Int16>(step - 1) : kFirstOptionsStep,
                .waitMs = wait};
    }
    const Int16 value = optionReplyValue(c.line.reply());
    queueDueOptionWrite(c);
    PollNext next = afterReply(c, step);
    if (!next.command.empty())
        return next;
    if (n < kOptionCount) {
        showOption(c, kOptionTable[n], value);
        return next;
    }
    SASAYIKLA(c);
    if (c.options.OptionsRefresh != 0)
        loadOptionEditor(c);
    next.step = kFirstOptionsStep;
    return next;
}

}  // namespace treld
