// drovelin: sends the alarm or test e-mail the monitor asks for, with the
// account settings of the station's sts.cfg, and logs every attempt beside
// it: in $TRELD_DIR (set by the monitor that starts it), else beside the program.
#include <curl/curl.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

#include "curl_delivery.h"
#include "foundation/file_append.h"
#include "foundation/station_dir.h"
#include "mail_log.h"
#include "mail_request.h"
#include "mail_settings.h"
#include "mime_message.h"

namespace fs = std::filesystem;
using namespace drovelin;

namespace {

const char* const kUsage =
    "usage: drovelin '1&&send++TEXT' | '1&&test message++TEXT' | --help | --version\n"
    "Sends the alarm or test e-mail TEXT as the STS monitor asks, with the mail settings of\n"
    "the station's sts.cfg ($TRELD_DIR, else beside the program); logs every attempt to\n"
    "drovelin.log there. Exit code: 0 sent, 1 every attempt failed, 2 bad argument, 3 sts.cfg\n"
    "missing or its mail settings unusable.\n";

fs::path programDirectory(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::absolute(argv0).parent_path() : self.parent_path();
}

// sts.cfg has 25 short lines; anything much larger is not one.
constexpr std::size_t kLongestConfig = 64 * 1024;

// The text of sts.cfg: a regular file only (a FIFO would block, a device
// never end), of at most kLongestConfig bytes.
std::optional<std::string> readConfigFile(const fs::path& file) {
    std::string problem;
    std::optional<std::string> text = treld::readFileStart(file, kLongestConfig + 1, problem);
    if (!text || text->size() > kLongestConfig)
        return std::nullopt;
    return text;
}

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

int main(int argc, char** argv) {
    // Started detached: a standard error whose reader went away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    const fs::path directory = treld::stationDirectory(programDirectory(argv[0]));
    removeStaleTemporaries(directory / treld::kMailLog);
    auto report = [&](const std::string& line) {
        appendToLog(directory / treld::kMailLog, line);
        std::cerr << line << '\n';
    };

    const std::string_view first = argc == 2 ? argv[1] : "";
    if (first == "--help" || first == "--version") {
        std::cout << (first == "--version" ? "drovelin " TRELD_VERSION "\n" : kUsage);
        return treld::kMailSent;
    }
    const std::optional<MailRequest> request =
        argc == 2 ? parseMailArgument(argv[1]) : std::nullopt;
    if (!request) {
        report(refusalLogLine(localNow(), "-",
                              "the one argument must be \"1&&send++\" or \"1&&test message++\" "
                              "followed by the text"));
        return treld::kMailBadArgument;
    }
    const std::string_view kind = kindName(request->kind);

    const std::optional<std::string> configText = readConfigFile(directory / "sts.cfg");
    if (!configText) {
        report(
            refusalLogLine(localNow(), kind,
                           "sts.cfg cannot be read: missing, not a regular file or over 64 KiB"));
        return treld::kMailUnusableConfig;
    }
    treld::StationConfig config;
    treld::readConfigText(*configText, config);
    const SettingsCheck check = mailSettings(config, request->kind);
    if (!check.problem.empty()) {
        report(refusalLogLine(localNow(), kind, check.problem));
        return treld::kMailUnusableConfig;
    }
    const MailSettings& settings = check.settings;
    const std::string message = buildMimeMessage(
        {settings.sender, settings.recipients, settings.subject, htmlBody(*request),
         std::time(nullptr), newMessageId(settings.sender.address)});

    curl_global_init(CURL_GLOBAL_DEFAULT);
    const int attempts = settings.retry.attempts;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (attempt > 1)
            std::this_thread::sleep_for(std::chrono::seconds(settings.retry.delaySeconds));
        const std::string problem = deliverOnce(settings, message);
        report(attemptLogLine(localNow(), kind, settings.recipients.size(), attempt, attempts,
                              problem.empty() ? "sent" : "failed: " + problem, settings.password));
        if (problem.empty()) {
            curl_global_cleanup();
            return treld::kMailSent;
        }
    }
    curl_global_cleanup();
    return treld::kMailNotSent;
}
