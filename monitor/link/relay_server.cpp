#include "link/relay_server.h"

#include "link/demo_table.h"

namespace treld {

bool relayAnswerDue(const Core& c) {
    return c.s.RelayCommand == kAwaiting && c.s.RelayClient >= 1;
}

void answerRelayClient(Core& c) {
    auto& s = c.s;
    if (s.DemoMode != 0)
        OZELGELDI(c);
    c.platform.sendRelay(s.RelayClient,
                         s.Reply.empty() ? std::string("Timeout\r") : s.Reply + "\r");
    s.RelayCommand.clear();
    s.RelayClient = 0;
    s.RelayPending = 0;
    s.LastTab = 0;
}

void forwardRelayCommand(Core& c) {
    auto& s = c.s;
    s.Reply.clear();
    s.ReceiveBuffer.clear();
    s.Command = s.RelayCommand;
    if (s.DemoMode == 0 && !c.platform.writeSerial(s.RelayCommand + "\r")) {
        s.Reply = "Can not open com" + std::to_string(c.config.ComPort) + "\r";
    }
    s.RelayCommand = kAwaiting;
    c.platform.startTimer(TimerId::Timer1, s.DemoMode != 0 ? 50 : 3000);
}

}  // namespace treld

namespace treld {

inline constexpr int kRelaySlots = 15;

void startRelayServer(Core& c) {
    if (!c.platform.listenRelay(c.config.RemotePort)) {
        c.form1("Label25").setCaption(" port:" + std::to_string(c.config.RemotePort) + " in use");
    }
}

void onRelayConnectionRequest(Core& c) {
    if (c.s.RemoteMode != 0)
        return;
    auto& slot = c.s.ServerSlot;
    slot = static_cast<Int16>(slot % kRelaySlots + 1);
    c.platform.acceptRelay(slot);
}

std::string LookupRelayRequest(Core& c, std::string request) {
    auto& s = c.s;
    s.RelayCommand.clear();
    std::erase(request, '\r');
    for (int n = 1; n <= kCommandTableSize; ++n) {
        const CommandTableEntry& entry = s.CommandTable[n];
        if (entry.TableActive != 1 || entry.TableCommand != request)
            continue;
        s.RelayClient = 0;
        if (s.DemoMode != 0)
            return entry.DemoReply + "\r";
        if (!entry.CachedReply.empty())
            return entry.CachedReply + "\r";
        return "Time out\r";
    }
    s.RelayCommand = std::move(request);
    s.RelayPending = 1;
    return "";
}

void onRelayData(Core& c, int slot, std::string_view data) {
    c.s.RelayClient = static_cast<Int16>(slot);
    const std::string answer = LookupRelayRequest(c, std::string(data));
    if (answer.empty())
        return;
    c.s.RelayClient = 0;
    c.s.RelayCommand.clear();
    c.platform.sendRelay(slot, answer);
}

void onRelaySendComplete(Core& c, int slot) {
    c.platform.closeRelay(slot);
}

void onRelayClosed(Core& c, int slot) {
    c.platform.closeRelay(slot);
}

}  // namespace treld
