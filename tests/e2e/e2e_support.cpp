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

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace treld::e2e {

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
    installFrom(builtProgramDir() / program);
}

void ProgramDir::installFrom(const std::filesystem::path& program) const {
    std::filesystem::copy_file(program, path_ / program.filename(),
                               std::filesystem::copy_options::update_existing);
}

void ProgramDir::write(const std::string& file, const std::string& text) const {
    std::ofstream(path_ / file, std::ios::binary) << text;
}

std::string ProgramDir::read(const std::string& file) const {
    std::ifstream in(path_ / file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Process::Process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment) {
    std::vector<std::string> texts{program.string()}, env;  // `environment` first: it wins
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    for (const auto& [key, value] : environment)
        env.push_back(key + "=" + value);
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (std::string& text : texts)
            result.push_back(text.data());
        result.push_back(nullptr);
        return result;
    };
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, pointers(texts).data(),
                    pointers(env).data()) != 0)
        throw std::runtime_error("cannot start " + program.string());
}

bool Process::running() {
    if (pid_ >= 0 && waitpid(pid_, &status_, WNOHANG) == pid_)
        pid_ = -1;
    return pid_ >= 0;
}

std::optional<int> Process::exitCode(std::chrono::milliseconds limit) {
    for (const auto end = Clock::now() + limit; running() && Clock::now() < end;)
        std::this_thread::sleep_for(10ms);
    if (running())
        return std::nullopt;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void Process::signal(int number) {
    if (running())
        kill(pid_, number);
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
    const std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skipped;
    long utime = 0, stime = 0;
    for (int i = 3; i < 14; ++i)
        fields >> skipped;
    fields >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

DeviceLine::DeviceLine() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = ptsname(master_);
    // Raw mode, and an open slave of our own so the line survives the
    // monitor's open and close.
    keepOpen_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    termios mode{};
    tcgetattr(keepOpen_, &mode);
    cfmakeraw(&mode);
    tcsetattr(keepOpen_, TCSANOW, &mode);
}

void DeviceLine::hangUp() {
    close(keepOpen_);  // a second call closes nothing: -1 is no descriptor
    close(master_);
    keepOpen_ = master_ = -1;
}

std::optional<DeviceLine::Command> DeviceLine::nextCommand(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (std::size_t cr; (cr = pending_.find('\r')) == std::string::npos;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{master_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0)
            return std::nullopt;
        char buffer[512];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        pending_.append(buffer, n > 0 ? std::size_t(n) : 0);
    }
    const std::size_t cr = pending_.find('\r');
    Command command{pending_.substr(0, cr), Clock::now()};
    pending_.erase(0, cr + 1);
    return command;
}

void DeviceLine::send(const std::string& text) {
    if (write(master_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("device line write failed");
}

std::unique_ptr<Process> startMonitor(const ProgramDir& dir, const std::string& line,
                                      const std::string& config, int maxFiles,
                                      const std::vector<std::string>& arguments) {
    dir.install("treld");
    dir.install("treld-station");
    dir.write("sts.cfg", config);
    const std::string limit = maxFiles > 0 ? "ulimit -n " + std::to_string(maxFiles) + "; " : "";
    std::vector<std::string> shell{
        "-c", limit + "exec \"$0\" \"$@\" 2>>\"" + (dir.path() / "stderr.txt").string() + "\"",
        (dir.path() / "treld").string()};
    shell.insert(shell.end(), arguments.begin(), arguments.end());
    return std::make_unique<Process>(
        "/bin/sh", shell,
        std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"}, {"TRELD_COM1", line}});
}

std::unique_ptr<Process> startSimulator(const ProgramDir& dir, std::vector<std::string> arguments) {
    dir.install("sts-sim");
    const std::filesystem::path line = dir.path() / "sts-line";
    arguments.insert(arguments.begin(),
                     {"--link", line.string(), "--trace", (dir.path() / "trace.txt").string()});
    auto simulator = std::make_unique<Process>(dir.path() / "sts-sim", arguments);
    for (int i = 0; i < 100 && !std::filesystem::exists(line); ++i)
        std::this_thread::sleep_for(20ms);
    return simulator;
}

std::vector<std::string> simulatorReceived(const ProgramDir& dir) {
    std::vector<std::string> commands;  // from lines "<ms> RX <command>"
    std::istringstream trace(dir.read("trace.txt"));
    for (std::string line; std::getline(trace, line);) {
        if (const std::size_t rx = line.find(" RX "); rx != std::string::npos)
            commands.push_back(line.substr(rx + 4));
    }
    return commands;
}

int freeTcpPort() {
    const int start = 10000 + int(std::random_device()() % 20000);  // parallel tests apart
    for (int port = start; port < start + 2000; ++port) {
        const int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_ANY)}, {}};
        const bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(probe);
        if (free)
            return port;
    }
    throw std::runtime_error("no free port");
}

}  // namespace treld::e2e
