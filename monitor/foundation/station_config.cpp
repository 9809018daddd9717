#include "foundation/station_config.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <variant>

#include "foundation/text_encoding.h"

namespace treld {
namespace {

using TextField = std::string StationConfig::*;
using IntegerField = Int16 StationConfig::*;

struct ConfigKey {
    std::string_view key;
    std::variant<TextField, IntegerField> field;
};

// The file's lines in the order the writer produces them.
const ConfigKey kKeys[] = {
    {"COMPORT:", &StationConfig::ComPort},
    {"SENDERNAME:", &StationConfig::SenderName},
    {"SENDERADRES:", &StationConfig::SenderAddress},
    {"RECEIPNAME1:", &StationConfig::RecipientName1},
    {"RECEIPADRES1:", &StationConfig::RecipientAddress1},
    {"RECEIPNAME2:", &StationConfig::RecipientName2},
    {"RECEIPADRES2:", &StationConfig::RecipientAddress2},
    {"RECEIPNAME3:", &StationConfig::RecipientName3},
    {"RECEIPADRES3:", &StationConfig::RecipientAddress3},
    {"SNAME:", &StationConfig::StationName},
    {"SUBJECT:", &StationConfig::MailSubject},
    {"EMAILENABLE:", &StationConfig::EmailEnable},
    {"SMTPHOST:", &StationConfig::SmtpHost},
    {"USERNAME:", &StationConfig::SmtpUserName},
    {"PASSWORD:", &StationConfig::SmtpPassword},
    {"USEAUTHENTICITATION:", &StationConfig::UseAuthentication},
    {"USEPOPAUTHENTICITATION:", &StationConfig::UsePopAuthentication},
    {"POP3HOST:", &StationConfig::Pop3Host},
    {"MAILRETRY:", &StationConfig::MailRetry},
    {"FAILDELAY:", &StationConfig::FailDelay},
    {"REMOTEIP1:", &StationConfig::RemoteIp1},
    {"REMOTEIP2:", &StationConfig::RemoteIp2},
    {"REMOTEIP3:", &StationConfig::RemoteIp3},
    {"REMOTEPORT:", &StationConfig::RemotePort},
    {"TIMEOUT:", &StationConfig::ReplyTimeout},
};

}  // namespace

void forEachConfigLine(LineReader& lines,
                       const std::function<bool(std::string_view, std::string_view)>& entry) {
    std::string text;
    while (lines.next(text)) {
        const std::string_view line = text;
        const std::size_t colon = line.find(':');
        const std::string_view key =
            colon == std::string_view::npos ? "" : line.substr(0, colon + 1);
        const std::string_view value =
            colon == std::string_view::npos ? line : line.substr(colon + 1);
        if (!entry(key, value))
            return;
    }
}

void forEachConfigLine(std::string_view text,
                       const std::function<bool(std::string_view, std::string_view)>& entry) {
    LineReader lines(text);
    forEachConfigLine(lines, entry);
}

std::optional<Int16> configInteger(std::string_view value) {
    return toInt16RoundedEven(leadingNumber(value));
}

namespace {

// The last value of each integer key as the file wrote it, and where the
// reading stopped (line 0: at the end).
struct Reading {
    std::map<std::string_view, std::string> written;
    int stopLine = 0;
    std::string_view stopKey;
};

bool readConfigLines(LineReader& lines, StationConfig& config, Reading* reading = nullptr) {
    bool complete = true;
    int lineNumber = 0;
    forEachConfigLine(lines, [&](std::string_view key, std::string_view value) {
        ++lineNumber;
        for (const ConfigKey& known : kKeys) {
            if (known.key != key)
                continue;
            if (auto* textField = std::get_if<TextField>(&known.field)) {
                config.*(*textField) = toUtf8(value);
                continue;
            }
            if (reading != nullptr)
                reading->written[known.key] = toUtf8(value);
            const std::optional<Int16> number = configInteger(value);
            if (!number) {
                if (reading != nullptr) {
                    reading->stopLine = lineNumber;
                    reading->stopKey = known.key;
                }
                complete = false;
                return false;
            }
            config.*std::get<IntegerField>(known.field) = *number;
        }
        return true;
    });
    complete = complete && !lines.failed();
    if (!complete || config.ComPort == 0)
        config.ComPort = 1;
    return complete;
}

// The value the monitor works with for an integer key.
std::string valueUsed(const StationConfig& config, std::string_view key) {
    if (key == "TIMEOUT:")
        return std::to_string(replyTimeoutMs(config.ReplyTimeout));
    for (const ConfigKey& known : kKeys) {
        if (known.key == key)
            return std::to_string(config.*std::get<IntegerField>(known.field));
    }
    return {};
}

std::string replaced(std::string_view key, const std::string& written, const std::string& used) {
    return "sts.cfg: " + std::string(key) + written + " replaced by " + std::string(key) + used;
}

}  // namespace

bool readConfigText(std::string_view text, StationConfig& config) {
    LineReader lines(text);
    return readConfigLines(lines, config);
}

std::vector<std::string> ReadConfig(const std::filesystem::path& file, StationConfig& config) {
    std::vector<std::string> said;
    LineReader lines(file);
    Reading reading;
    const auto written = [&](std::string_view key) { return reading.written[key]; };
    if (!lines.isOpen()) {
        config.ComPort = 1;
        if (!lines.problem().empty())
            said.push_back("sts.cfg cannot be read (" + lines.problem() +
                           "): every setting is its default, COMPORT:1 EMAILENABLE:0 "
                           "REMOTEPORT:" +
                           std::to_string(config.RemotePort) +
                           " TIMEOUT:" + valueUsed(config, "TIMEOUT:"));
    } else if (readConfigLines(lines, config, &reading)) {
        if (reading.written.contains("COMPORT:") && configInteger(written("COMPORT:")) == 0)
            said.push_back(replaced("COMPORT:", written("COMPORT:"), "1"));
    } else {
        const std::string key(reading.stopKey);
        said.push_back(reading.stopLine == 0
                           ? "sts.cfg cannot be read to its end: the lines from there on keep "
                             "their defaults, COMPORT:1"
                           : "sts.cfg line " + std::to_string(reading.stopLine) + ": " + key +
                                 written(key) +
                                 " is out of range; the lines from there on are not read: "
                                 "COMPORT:1 and " +
                                 key + valueUsed(config, key) + " used");
    }
    // Port 0 would let the system choose one that no client knows.
    if (config.RemotePort <= 0) {
        said.push_back(replaced("REMOTEPORT:", written("REMOTEPORT:"), "1118"));
        config.RemotePort = 1118;
    }
    // The stored value stays as read: Save writes it back unchanged.
    if (reading.written.contains("TIMEOUT:") && reading.stopKey != "TIMEOUT:" &&
        config.ReplyTimeout <= 0)
        said.push_back(replaced("TIMEOUT:", written("TIMEOUT:"), valueUsed(config, "TIMEOUT:")));
    return said;
}

std::string writeConfigText(const StationConfig& config, Int16 comPortValue) {
    std::string out;
    for (const ConfigKey& known : kKeys) {
        out += known.key;
        if (auto* textField = std::get_if<TextField>(&known.field)) {
            out += config.*(*textField);
        } else {
            const IntegerField field = std::get<IntegerField>(known.field);
            out += std::to_string(field == &StationConfig::ComPort ? comPortValue : config.*field);
        }
        out += "\r\n";
    }
    return out;
}

void removeLeftoverTemporaries(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".";
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), failed)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !entry.is_regular_file(failed) || entry.is_symlink(failed))
            continue;
        const std::string_view suffix = std::string_view(name).substr(prefix.size());
        if (suffix == "new" || (suffix.size() == 6 && std::ranges::all_of(suffix, [](char ch) {
                                    return std::isalnum(static_cast<unsigned char>(ch)) != 0;
                                })))
            std::filesystem::remove(entry.path(), failed);
    }
}

template <typename Field>
std::string_view keyOf(Field field) {
    for (const ConfigKey& key : kKeys) {
        const Field* candidate = std::get_if<Field>(&key.field);
        if (candidate != nullptr && *candidate == field)
            return key.key;
    }
    return {};
}

std::string_view configKey(std::string StationConfig::*field) {
    return keyOf(field);
}

std::string_view configKey(Int16 StationConfig::*field) {
    return keyOf(field);
}

}  // namespace treld
