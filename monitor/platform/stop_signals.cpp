#include "platform/stop_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace treld {
namespace {

int signalPipe[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler

constexpr int kHandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int signal) {
    const int savedErrno = errno;
    if (signal != SIGHUP) {
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        sigaction(signal, &standard, nullptr);
    }
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;  // without the pair the signals keep their usual effect
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        bool stop = false, hangUp = false;
        for (ssize_t n; (n = ::read(signalPipe[0], bytes, sizeof bytes)) > 0;) {
            for (ssize_t i = 0; i < n; ++i)
                (bytes[i] == SIGHUP ? hangUp : stop) = true;
        }
        if (stop)
            emit arrived();
        else if (hangUp)
            emit this->hangUp();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kHandledSignals)
        sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (const int signal : kHandledSignals)
        sigaction(signal, &standard, nullptr);
    notifier_.reset();
    for (int& end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

}  // namespace treld
