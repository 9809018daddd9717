#include "device/control_cycle.h"

#include "device/command_question.h"
#include "device/login.h"
#include "link/command_slot.h"
#include "link/exchange.h"
#include "link/line.h"
#include "status/sas_decoder.h"

namespace treld {

void onOperatorCommandClick(DeviceCore& c, int i) {
    if (i < 0 || i >= static_cast<int>(kOperatorCommands.size()))
        return;
    const OperatorCommand& command = kOperatorCommands[i];
    if (c.status.loggedIn()) {
        std::string question = "Send \"" + std::string(command.caption) + "\" (" +
                               std::string(command.command) + ") to the STS?";
        if (!command.explanation.empty())
            question += "\n\n" + std::string(command.explanation) + ".";
        askBeforeQueueing(c, std::string(command.command), std::move(question),
                          std::string(command.caption) + " (" + std::string(command.command) + ")");
    } else {
        showLoginDialog(c, kUserLogin,
                        [i](DeviceCore& again) { onOperatorCommandClick(again, i); });
    }
}

PollNext KONTROL(DeviceCore& c) {
    switch (c.s.PollStep) {
        case 1:
            if (!commandQueued(c))
                return {.step = 3};
            return {.command = c.s.PollState};
        case 2: {
            const std::optional<int> wait = showCommandReply(c);
            if (!pollingPaused(c))  // a login's pause outlives the reply it waited for
                clearCommandSlot(c);
            return {.step = 3, .waitMs = wait};
        }
        case 3:
            return {.command = "SAS"};
        case 4:
            if (c.line.reply().empty())
                return {.step = 1, .waitMs = timeover(c)};
            SASAYIKLA(c);
            return {.step = 1, .waitMs = kCyclePaceMs};
        default:
            return {.step = 1};
    }
}

}  // namespace treld
