#include "device/control_cycle.h"

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
    if (c.status.loggedIn()) {
        queueCommand(c, std::string(kOperatorCommands[i].command));
    } else {
        showLoginDialog(c, kUserLogin);
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
            if (!s.Reply.empty()) {
                c.ui(kStatusLine).setCaption(s.Reply);
            } else {
                timeover(c);
            }
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
