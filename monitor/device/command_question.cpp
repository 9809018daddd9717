#include "device/command_question.h"

#include "link/command_slot.h"

namespace treld {

void askBeforeQueueing(DeviceCore& c, std::string command, std::string question, std::string name) {
    c.commandAskedName = name.empty() ? command : std::move(name);
    c.commandAsked = std::move(command);
    c.ui.ask(Form::Form1, std::string(kCommandQuestion), std::string(kProgramTitle),
             std::move(question));
}

void onCommandAnswer(DeviceCore& c, bool yes) {
    std::string command = std::move(c.commandAsked);
    c.commandAsked.clear();
    if (yes && !command.empty())
        queueCommand(c, std::move(command), std::move(c.commandAskedName));
}

}  // namespace treld
