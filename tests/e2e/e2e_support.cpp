#include "e2e_support.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace treld::e2e {

std::string healthyDeviceReply(const std::string& command) {
    if (command == "SRV")
        return "#230 231 229 228 230 232 0500 0499\r";
    if (command == "OPL")
        return "#045 050 055 010 011 012 035 002\r";
    if (command == "SAS")
        return "#00000000 00000000 00000000 00000000 00000\r";
    if (command == "FIR")
        return "STS V2.07\r";
    if (command == "CLK")
        return "#14:05:10\r";
    if (command == "DAT")
        return "#05/12/26\r";
    return command.empty() ? "" : "#000\r";
}

std::vector<ReceivedCommand> simulatorReceived(const std::filesystem::path& traceFile) {
    std::vector<ReceivedCommand> commands;
    std::ifstream in(traceFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ReceivedCommand command{};
        std::string direction;
        fields >> command.atMs >> direction;
        std::getline(fields >> std::ws, command.text);
        if (direction == "RX")
            commands.push_back(command);
    }
    return commands;
}

std::filesystem::path builtProgramDir() {
    return TRELD_BUILT_PROGRAM_DIR;
}

ProgramDir::ProgramDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "treld-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    std::filesystem::create_directory(path_ / "SERLOGS");
}

ProgramDir::~ProgramDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ProgramDir::install(const std::string& program) const {
    std::filesystem::copy_file(builtProgramDir() / program, path_ / program,
                               std::filesystem::copy_options::overwrite_existing);
}

void ProgramDir::installFrom(const std::filesystem::path& program) const {
    std::filesystem::copy_file(program, path_ / program.filename(),
                               std::filesystem::copy_options::overwrite_existing);
}

void ProgramDir::write(const std::string& file, const std::string& text) const {
    std::ofstream(path_ / file, std::ios::binary) << text;
}

std::string ProgramDir::read(const std::string& file) const {
    std::ifstream in(path_ / file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Process::Process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('='));
        if (!environment.contains(key))
            env.push_back(entry);
    }
    for (const auto& [key, value] : environment)
        env.push_back(key + "=" + value);
    std::vector<std::string> args{program.string()};
    args.insert(args.end(), arguments.begin(), arguments.end());

    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (std::string& text : texts)
            result.push_back(text.data());
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + program.string());
    }
}

Process::~Process() {
    stop();
}

bool Process::running() {
    if (pid_ < 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void Process::stop() {
    if (pid_ < 0)
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

long Process::peakResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return -1;
}

double Process::cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

DeviceLine::DeviceLine() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    slavePath_ = ptsname(master_);
    // Raw mode, and an open slave of our own so the line survives the
    // monitor's open and close.
    keepOpen_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    termios mode{};
    tcgetattr(keepOpen_, &mode);
    cfmakeraw(&mode);
    tcsetattr(keepOpen_, TCSANOW, &mode);
}

DeviceLine::~DeviceLine() {
    hangUp();
}

void DeviceLine::hangUp() {
    if (keepOpen_ >= 0)
        close(keepOpen_);
    if (master_ >= 0)
        close(master_);
    keepOpen_ = master_ = -1;
}

std::optional<DeviceLine::Command> DeviceLine::nextCommand(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (true) {
        const std::size_t cr = pending_.find('\r');
        if (cr != std::string::npos) {
            Command command{pending_.substr(0, cr), Clock::now()};
            pending_.erase(0, cr + 1);
            return command;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd ready{master_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n > 0)
            pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

void DeviceLine::send(const std::string& text) {
    if (write(master_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("device line write failed");
    }
}

std::unique_ptr<Process> startMonitor(const ProgramDir& dir, const DeviceLine& line,
                                      const std::string& config) {
    dir.install("treld");
    dir.write("sts.cfg", config);
    return std::make_unique<Process>(
        dir.path() / "treld", std::vector<std::string>{},
        std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                           {"TRELD_COM1", line.monitorEnd()}});
}

DevicePlayer::DevicePlayer(DeviceLine& line, Reply reply)
    : line_(line), reply_(std::move(reply)), thread_([this] {
          while (!stop_) {
              const auto command = line_.nextCommand(std::chrono::milliseconds(50));
              if (!command)
                  continue;
              {
                  const std::lock_guard lock(mutex_);
                  commands_.push_back(*command);
              }
              const std::string text = reply_(command->text);
              if (!text.empty())
                  line_.send(text);
          }
      }) {}

DevicePlayer::~DevicePlayer() {
    stop_ = true;
    thread_.join();
}

int DevicePlayer::pollCommandsBetween(Clock::time_point from, Clock::time_point to) const {
    static const std::vector<std::string> kCycle = {"SRV", "OPL", "SST", "SAS",
                                                    "FIR", "CLK", "DAT"};
    const std::lock_guard lock(mutex_);
    int count = 0;
    for (const DeviceLine::Command& command : commands_) {
        if (command.at >= from && command.at < to &&
            std::find(kCycle.begin(), kCycle.end(), command.text) != kCycle.end())
            ++count;
    }
    return count;
}

std::vector<DeviceLine::Command> DevicePlayer::commands() const {
    const std::lock_guard lock(mutex_);
    return commands_;
}

int freeTcpPort() {
    // The port travels in a signed 16-bit setting, so it stays below the
    // system's ephemeral range; a random start keeps parallel tests apart.
    std::random_device seed;
    const int start = 10000 + static_cast<int>(seed() % 20000);
    for (int port = start; port < start + 2000; ++port) {
        const int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        const bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(probe);
        if (free)
            return port;
    }
    throw std::runtime_error("no free port");
}

}  // namespace treld::e2e
