#include "foundation/station_config.h"

#include <fstream>
#include <sstream>
#include <variant>

#include "foundation/atomic_file.h"
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

void forEachConfigLine(std::string_view text,
                       const std::function<bool(std::string_view, std::string_view)>& entry) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t colon = line.find(':');
        const std::string_view key =
            colon == std::string_view::npos ? "" : line.substr(0, colon + 1);
        const std::string_view value =
            colon == std::string_view::npos ? line : line.substr(colon + 1);
        if (!entry(key, value))
            return;
    }
}

std::optional<Int16> configInteger(std::string_view value) {
    return toInt16RoundedEven(leadingNumber(value));
}

bool readConfigText(std::string_view text, StationConfig& config) {
    bool complete = true;
    forEachConfigLine(text, [&](std::string_view key, std::string_view value) {
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
    if (!complete || config.ComPort == 0)
        config.ComPort = 1;
    return complete;
}

bool ReadConfig(const std::filesystem::path& file, StationConfig& config) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        config.ComPort = 1;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return readConfigText(text.str(), config);
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

bool writeConfig(const std::filesystem::path& file, const StationConfig& config,
                 Int16 comPortValue) {
    return replaceFileAtomically(file, writeConfigText(config, comPortValue));
}

}  // namespace treld
