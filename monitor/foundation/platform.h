// The only way the monitor core reaches the outside world. The Qt layer
// implements it for the real program; tests implement it with virtual time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace treld {

// Timer1 drives the poll cycle, Timer2 the login keep-alive, Timer3 clears
// the device message line, LoginTimer is the login dialog's own timer,
// RelayTimer ticks every second to drop relay clients that keep a slot idle,
// TrendTimer ticks every second for the trend charts and files and the
// notifications' retries and heartbeat, FleetTimer
// every second for the fleet's publishing, ReopenTimer every 5 s while the
// link to the device is lost.
enum class TimerId {
    Timer1,
    Timer2,
    Timer3,
    LoginTimer,
    RelayTimer,
    TrendTimer,
    FleetTimer,
    ReopenTimer
};
inline constexpr int kTimerCount = 8;

struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::string shortDate;          // the date in the system's short-date format
    std::string longTime;           // the time in the system's long-time format
    std::int64_t epochSeconds = 0;  // the same instant in seconds since 1970 UTC
    int millisecond = 0;            // within that second
    int utcOffsetSeconds = 0;       // local time minus UTC
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

// An HTTP request of the notifications: https is verified against the
// system's certificate authorities, or against `caFile`'s alone.
struct OutgoingRequest {
    std::string method;  // "POST" or "GET"
    std::string url;
    Pairs headers;
    std::string body;
    std::string caFile;
    int timeoutMs = 0;
};

// How a delivery (a request or a notify program) went: `delivered` for an
// HTTP 2xx answer or an exit code 0; `answer` says what came back ("HTTP 200",
// "HTTP 500 Internal Server Error", "Connection refused", "exit code 3",
// "timed out after 10 s").
struct DeliveryOutcome {
    bool delivered = false;
    std::string answer;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // (Re)starts a periodic timer: it fires every `intervalMs` from now on.
    // An interval of 0 or less stops it.
    virtual void startTimer(TimerId timer, int intervalMs) = 0;
    virtual void stopTimer(TimerId timer) = 0;

    // Serial port number n (1 = COM1) at 2400 baud, no parity, 8 data bits,
    // 1 stop bit. Received characters arrive through Monitor::onSerialData; a
    // hang-up or an error of the open port through Monitor::onSerialLost.
    virtual bool openSerialPort(int port) = 0;
    virtual void closeSerialPort() = 0;
    // True only when the port has taken every byte.
    virtual bool writeSerial(std::string_view text) = 0;

    // The remote client: one connection at a time. Events arrive through
    // Monitor::onRemoteConnected / onRemoteData / onRemoteError.
    virtual void connectRemote(const std::string& host, int port) = 0;
    virtual void sendRemote(std::string_view text) = 0;
    virtual void closeRemote() = 0;

    // The relay server: a listener on `address` (empty: every interface) and
    // connection slots 1..15. A pending connection
    // (Monitor::onRelayConnectionRequest) is accepted into a slot, replacing
    // whatever the slot held; the result is the peer's address ("10.0.0.5",
    // IPv4 clients of an IPv6 listener too), nothing when none was pending.
    virtual bool listenRelay(int port, const std::string& address) = 0;
    virtual std::optional<std::string> acceptRelay(int slot) = 0;
    virtual bool sendRelay(int slot, std::string_view text) = 0;
    virtual void closeRelay(int slot) = 0;

    // Starts a program with exactly one argument (none when it is empty),
    // without a shell and without waiting for it. The argument's bytes pass
    // unchanged (UTF-8).
    virtual bool startProgram(const std::string& path, const std::string& argument) = 0;

    // The same, watched: Monitor::onMailProgramEnded follows with its exit
    // code when it ends (-1 when a signal ended it). One at a time: false
    // while the watched program runs. A program still running when the
    // monitor ends goes on by itself.
    virtual bool startWatchedProgram(const std::string& path, const std::string& argument) = 0;

    // A delivery of the notifications, started without waiting; one per
    // `id` at a time. Monitor::onDelivered(id, outcome) follows once, never
    // from within the call, and within the time-out (a request still under
    // way then is aborted, a program killed).
    virtual void sendHttp(int id, const OutgoingRequest& request) = 0;
    // Runs `path` without arguments and without a shell, `environment`
    // added to the monitor's own.
    virtual void runProgram(int id, const std::string& path, const Pairs& environment,
                            int timeoutMs) = 0;

    // Replaces a file as a whole, readable and writable by its owner only (sts.cfg
    // holds the mail password): a crash or a full disk leaves the old content or the
    // new one, never a mix. False, and the file untouched, when it cannot be done.
    virtual bool replaceFile(const std::filesystem::path& file, std::string_view content) = 0;

    virtual LocalDateTime now() = 0;

    // One line on stderr: a fault the operator must fix, which a headless
    // monitor shows nowhere else.
    virtual void writeStderr(std::string_view line) = 0;

    // Ends the program: the event loop returns with exit code 0 and the
    // ports, sockets and lock files are released on the way out.
    virtual void exitProgram() = 0;
};

}  // namespace treld
