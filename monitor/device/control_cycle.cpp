#include "device/control_cycle.h"

#include "device/login.h"
#include "link/exchange.h"
#include "link/send.h"
#include "status/sas_decoder.h"

namespace treld {

void onOperatorCommandClick(Core& c, int i) {
    if (i < 0 || i >= static_cast<int>(kOperatorCommands.size()))
        return;
    if (c.status.loggedIn()) {
        c.s.PollState = kOperatorCommands[i].command;
    } else {
        showLoginDialog(c, kUserLogin);
    }
}

void KONTROL(Core& c) {
    auto& s = c.s;
    switch (s.PollStep) {
        case 1:
            if (s.PollState.empty()) {
                s.PollStep = 3;
                return;
            }
            s.Command = s.PollState;
            GONDERME(c);
            return;
        case 2:
            if (!s.Reply.empty()) {
                c.form1("Label40").setCaption(s.Reply);
            } else {
                timeover(c);
            }
            s.PollStep = 3;
            s.PollState.clear();
            return;
        case 3:
            s.Command = "SAS";
            GONDERME(c);
            return;
        case 4:
            if (!s.Reply.empty()) {
                c.platform.startTimer(TimerId::Timer1, 10);
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
