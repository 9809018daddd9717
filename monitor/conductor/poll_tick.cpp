#include "conductor/poll_tick.h"

#include "device/control_cycle.h"
#include "device/option_editor.h"
#include "device/options_cycle.h"
#include "foundation/main_window.h"
#include "link/command_slot.h"
#include "link/exchange.h"
#include "link/line.h"
#include "link/measurements.h"
#include "link/poll_timer.h"
#include "link/relay_server.h"
#include "link/reply_format.h"
#include "link/status_texts.h"
#include "records/sts_log.h"
#include "status/link_watch.h"
#include "status/sas_decoder.h"

namespace treld {
namespace {

// One even step of the measurement cycle: what a reply does, what a
// time-out does, and where the cycle goes on after each.
struct EvaluateStep {
    void (*onReply)(Core&);  // null: nothing is decoded
    bool cached;             // the reply goes into the relay cache
    bool demoAnswersOk;      // clock and date: demo mode answers "OK"
    Int16 nextAfterReply;
    void (*onTimeOut)(Core&);  // blanking after timeover; may be null
    Int16 nextAfterTimeOut;
};

// A layer's procedure as a step of the table, which takes the whole Core.
template <auto procedure>
void onCore(Core& c) {
    procedure(c);
}

constexpr Int16 kStatusEvaluateStep = 8;

// The device's clock is shown, and tells the log recovery its offset.
void readStsTime(Core& c) {
    showStsTime(c);
    c.recovery.deviceTime(c.line.reply());
}
void readStsDate(Core& c) {
    showStsDate(c);
    c.recovery.deviceDate(c.line.reply(), c.platform.now());
}

const EvaluateStep* evaluateStep(Int16 step) {
    static const EvaluateStep kSrv{onCore<decodeSourcePanel>, true, false, 3,
                                   onCore<blankSourcePanel>,  3};
    static const EvaluateStep kOpl{onCore<decodeOutputPanel>, true, false, 5,
                                   onCore<blankOutputPanel>,  1};
    static const EvaluateStep kSst{nullptr, false, false, 7, nullptr, 1};
    static const EvaluateStep kSas{onCore<SASAYIKLA>, true, false, 9, nullptr, 1};
    static const EvaluateStep kFir{onCore<showVersion>, true, false, 11, nullptr, 11};
    static const EvaluateStep kClk{readStsTime, true, false, 13, nullptr, 13};
    static const EvaluateStep kDat{readStsDate, true, false, 1, nullptr, 1};
    static const EvaluateStep kSetClock{nullptr, true, true, 17, nullptr, 1};
    static const EvaluateStep kSetDate{nullptr, true, true, 1, nullptr, 1};
    switch (step) {
        case 2:
            return &kSrv;
        case 4:
            return &kOpl;
        case 6:
            return &kSst;
        case kStatusEvaluateStep:
            return &kSas;
        case 10:
            return &kFir;
        case 12:
            return &kClk;
        case 14:
            return &kDat;
        case 16:
            return &kSetClock;
        case 18:
            return &kSetDate;
        default:
            return nullptr;
    }
}

std::string sendCommandOfStep(Core& c, Int16 step) {
    switch (step) {
        case 1:
            return "SRV";
        case 3:
            return "OPL";
        case 5:
            return "SST";
        case 7:
            return "SAS";
        case 9:
            return "FIR";
        case 11:
            return "CLK";
        case 13:
            return "DAT";
        case 15:
            return clockCommand(c.platform.now());
        case 17:
            return dateCommand(c.platform.now());
        default:
            return "";
    }
}

PollNext evaluate(Core& c, const EvaluateStep& step) {
    Line& line = c.line;
    if (step.demoAnswersOk && line.transport().simulated)
        line.simulateOk();
    const std::string& reply = line.reply();
    // A garbled reply is taken like a missing one (it counted as unanswered
    // when it came), but said as a data error.
    const bool garbled = !reply.empty() && !passesFormatTest(line.command(), reply);
    if (reply.empty() || garbled) {
        GELENBAFIRSIFIR(c);
        PollNext next{.step = step.nextAfterTimeOut};
        if (garbled) {
            c.s.CheckedCommand = line.command();
            datahata(c);
        } else {
            next.waitMs = timeover(c);
        }
        if (step.onTimeOut != nullptr)
            step.onTimeOut(c);
        return next;
    }
    // A relay server without a cached reply yet: nothing to decode or keep.
    if (!reply.starts_with(kRelayCacheEmpty)) {
        if (step.onReply != nullptr)
            step.onReply(c);
        if (step.cached)
            GELENBAFIRKOY(c);
    }
    return {.step = step.nextAfterReply};
}

// Returns true when the tick evaluated a reply.
bool measurementCycle(Core& c) {
    if (const EvaluateStep* step = evaluateStep(c.s.PollStep)) {
        applyPollNext(c, evaluate(c, *step));
        return true;
    }
    applyPollNext(c, {.command = sendCommandOfStep(c, c.s.PollStep)});
    return false;
}

// A queued command is dropped.
void enterTab(Core& c, int tab) {
    auto& s = c.s;
    clearCommandSlot(c);
    if (tab != kOptionsTab)
        dropDueOptionWrites(c);
    switch (tab) {
        case kOptionsTab:
            s.PollStep = kFirstOptionsStep;
            c.options.OptionsRefresh = 1;
            break;
        case kLogTab:
            s.PollStep = kFirstLogStep;
            restartStsLogDownload(c);
            break;
        default:
            s.PollStep = kFirstMeasurementStep;
            break;
    }
    s.LastTab = static_cast<Int16>(tab);
}

// The cycle of the tab. Returns true when the measurement cycle evaluated a reply.
bool runTabCycle(Core& c, int tab) {
    switch (tab) {
        case kOptionsTab:
            applyPollNext(c, OPTIONS(c));
            return false;
        case kControlTab:
            applyPollNext(c, KONTROL(c));
            return false;
        case kLogTab:
            applyPollNext(c, LOGS(c));
            return false;
        default:
            return measurementCycle(c);
    }
}

// The status read after a login, on any tab; the cycle's step stays.
void sendStatusPoll(Core& c) {
    c.login.statusPollDue = false;
    applyPollNext(c, {.command = "SAS", .owner = ExchangeOwner::StatusPoll});
}

// Decoded and cached as the cycle's status step is; the cycle's own step stays.
void evaluateStatusPoll(Core& c) {
    c.line.closeExchange();
    PollNext next = evaluate(c, *evaluateStep(kStatusEvaluateStep));
    next.step.reset();
    applyPollNext(c, next);
}

// The outcome of an exchange that is not the cycle's goes to its owner.
// Returns true when that spends the tick.
bool finishOthersExchange(Core& c) {
    switch (c.line.owner()) {
        case ExchangeOwner::Operator:
            applyPollNext(c, finishAwaitedCommand(c));
            return false;
        case ExchangeOwner::Relay:
            answerRelayClient(c);
            return false;
        case ExchangeOwner::Login:  // the dialog judges by the status, not by this reply
            c.line.closeExchange();
            return false;
        case ExchangeOwner::StatusPoll:
            evaluateStatusPoll(c);
            return true;
        case ExchangeOwner::Recovery:
            c.line.closeExchange();
            mailRecovered(c, c.recovery.take(c));
            return false;
        default:
            return false;
    }
}

}  // namespace

void Timer1_Timer(Core& c) {
    auto& s = c.s;
    if (c.line.takeRestart())
        s.PollStep = kFirstMeasurementStep;
    if (finishOthersExchange(c))
        return;
    const int tab = c.selectedTab();
    const bool cycleOutcome = c.line.owner() == ExchangeOwner::Cycle;
    c.line.closeExchange();  // the cycle takes its outcome in this tick, or never
    if (pollingPaused(c)) {
        // Nothing new goes out, but the exchange under way is still evaluated.
        if (cycleOutcome && tab == s.LastTab)
            runTabCycle(c, tab);
        return;
    }
    if (c.login.statusPollDue && !cycleOutcome) {
        sendStatusPoll(c);
        return;
    }
    if (tab != s.LastTab)
        enterTab(c, tab);
    const Int16 evaluated = s.PollStep;
    if (!runTabCycle(c, tab))
        return;
    // The status record was read, or a silent line sent the cycle back to
    // SRV before it.
    if (evaluated == kStatusEvaluateStep ||
        (evaluated < kStatusEvaluateStep && s.PollStep == kFirstMeasurementStep))
        relayStatusRead(c);

    // Only one command of the operator or of a relay client is in flight at
    // a time: a relay command waits for the next evaluation if the operator's
    // goes out now.
    // The log recovery's read waits for a cycle without either.
    if (commandQueued(c)) {
        applyPollNext(c, takeQueuedCommand(c));
    } else if (c.relay.forwardDue()) {
        forwardRelayCommand(c);
    } else {
        applyPollNext(c, c.recovery.next(c.line.transport().simulated));
    }
}

void startPolling(Core& c) {
    c.s.PollStep = kFirstMeasurementStep;
    c.platform.startTimer(TimerId::Timer1, kFirstTickMs);
}

void synchronize(Core& c) {
    c.s.PollStep = kSetClockStep;
}

void applyPollNext(Core& c, PollNext next) {
    if (next.step)
        c.s.PollStep = *next.step;
    if (!next.command.empty()) {
        if (next.owner == ExchangeOwner::Cycle)
            ++c.s.PollStep;
        GONDERME(c, next.owner, std::move(next.command));
    }
    if (next.waitMs)
        c.line.wantTick(*next.waitMs);
}

void applyPollWait(Core& c) {
    if (const std::optional<int> wait = c.line.takeWait())
        c.platform.startTimer(TimerId::Timer1, *wait);
}

}  // namespace treld
