#include "foundation/station_config.h"

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

bool readConfigLines(LineReader& lines, StationConfig& config) {
    bool complete = true;
    forEachConfigLine(lines, [&](std::string_view key, std::string_view value) {
        for (const ConfigKey& known : kKeys) {
            if (known.key != key)
                continue;
            if (auto* textField = std::get_if<TextField>(&known.field)) {
                config.*(*textField) = toUtf8(value);
            } else {
                const std::optional<Int16> number = configInteger(value);
                if (!number) {
                    complete = false;
                    return false;
                }
                config.*std::get<IntegerField>(known.field) = *number;
            }
        }
        return true;
    });
    complete = complete && !lines.failed();
    if (!complete || config.ComPort == 0)
        config.ComPort = 1;
    return complete;
}

}  // namespace

bool readConfigText(std::string_view text, StationConfig& config) {
    LineReader lines(text);
    return readConfigLines(lines, config);
}

bool ReadConfig(const std::filesystem::path& file, StationConfig& config) {
    LineReader lines(file);
    if (!lines.isOpen()) {
        config.ComPort = 1;
        return false;
    }
    return readConfigLines(lines, config);
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

void removeLeftoverTemporary(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    temporary += ".new";
    std::error_code ignored;
    if (std::filesystem::is_regular_file(temporary, ignored))
        std::filesystem::remove(temporary, ignored);
}

}  // namespace treld
