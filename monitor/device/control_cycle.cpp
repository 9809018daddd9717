#include "device/control_cycle.h"

#include "device/command_question.h"
#include "device/login.h"
#include "link/command_slot.h"
#include "link/exchange.h"
#include "link/poll_timer.h"
#include "link/send.h"
#include "status/sas_decoder.h"

namespace treld {

void onOperatorCommandClick(Core& c, int i) {
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
        showLoginDialog(c, kUserLogin, [i](Core& again) { onOperatorCommandClick(again, i); });
    }
}

void KONTROL(Core& c) {
    auto& s = c.s;
    switch (s.PollStep) {
        case 1:
            if (!commandQueued(c)) {
                s.PollStep = 3;
                return;
            }
            s.Command = s.PollState;
            GONDERME(c);
            return;
        case 2:
            showCommandReply(c);
            s.PollStep = 3;
            if (!pollingPaused(c))  // a login's pause outlives the reply it waited for
                clearCommandSlot(c);
            return;
        case 3:
            s.Command = "SAS";
            GONDERME(c);
            return;
        case 4:
            if (!s.Reply.empty()) {
                c.platform.startTimer(TimerId::Timer1, kCyclePaceMs);
                SASAYIKLA(c);
            } else {
                timeover(c);
            }
            s.PollStep = 1;
            return;
        default:
            s.PollStep = 1;
            return;
    }
}

}  // namespace treld
