#include "fleet/fleet_settings.h"

#include "foundation/file_append.h"
#include "foundation/station_config.h"

namespace treld {
namespace {

// A port by the numeric-prefix rule; nothing outside 1..65535.
std::optional<int> portNumber(std::string_view value) {
    const double number = leadingNumber(value);
    if (number < 1 || number > 65535 || number != static_cast<int>(number))
        return std::nullopt;
    return static_cast<int>(number);
}

}  // namespace

std::optional<FleetSettings> readFleetSettings(std::string_view text, std::string& error) {
    FleetSettings settings;
    error.clear();
    forEachConfigLine(text, [&](std::string_view key, std::string_view value) {
        if (key == "PORT:" || key == "METRICS:") {
            const std::optional<int> port = portNumber(value);
            if (!port) {
                error = "mqtt.cfg: " + std::string(key.substr(0, key.size() - 1)) +
                        " needs a port from 1 to 65535";
                return false;
            }
            (key == "PORT:" ? settings.port : settings.metricsPort) = *port;
        } else if (key == "TOPIC:") {
            if (value.find_first_of("+#") != std::string_view::npos) {
                error = "mqtt.cfg: TOPIC may not hold + or #";
                return false;
            }
            settings.topic = value;
        } else if (key == "HOST:") {
            settings.host = value;
        } else if (key == "USERNAME:") {
            settings.username = value;
        } else if (key == "PASSWORD:") {
            settings.password = value;
        } else if (key == "CAFILE:") {
            settings.caFile = value;
        } else if (key == "METRICSADDRESS:") {
            settings.metricsAddress = value;
        } else if (key == "BOARD:") {
            // Levels are added to it, so "#" cannot stand; "+" only as a whole level.
            const std::string filter = "/" + std::string(value) + "/";
            bool plusInLevel = false;
            for (std::size_t i = 1; i + 1 < filter.size(); ++i)
                plusInLevel |= filter[i] == '+' && (filter[i - 1] != '/' || filter[i + 1] != '/');
            if (value.find('#') != std::string_view::npos || plusInLevel) {
                error =
                    "mqtt.cfg: BOARD needs a topic filter without # and with + only as a "
                    "whole level";
                return false;
            }
            settings.board = value;
        } else if (key == "PAGE:") {
            settings.page = value;
        }
        return true;
    });
    if (!error.empty())
        return std::nullopt;
    return settings;
}

std::optional<FleetSettings> readFleetSettingsFile(const std::filesystem::path& file,
                                                   std::string& error) {
    constexpr std::size_t kLimit = 64 * 1024;
    error.clear();
    std::string problem;
    const std::optional<std::string> text = readFileStart(file, kLimit + 1, problem);
    if (!problem.empty() || (text && text->size() > kLimit)) {
        error = "mqtt.cfg: not a readable settings file" + (problem.empty() ? "" : ": " + problem);
        return std::nullopt;
    }
    return text ? readFleetSettings(*text, error) : std::nullopt;
}

std::string FleetSettings::pageAddress(std::string_view hostName) const {
    if (!page.empty() || metricsPort == 0)
        return page;
    const std::string& address = metricsAddress;
    if (address.starts_with("127.") || address == "::1" || address == "localhost")
        return "";
    const std::string host = address == "0.0.0.0" || address == "::"  ? std::string(hostName)
                             : address.find(':') != std::string::npos ? "[" + address + "]"
                                                                      : address;
    return "http://" + host + ":" + std::to_string(metricsPort) + "/";
}

std::string defaultTopic(std::string_view stationName, std::string_view hostName) {
    std::string level(stationName.empty() ? hostName : stationName);
    for (char& ch : level) {
        if (ch == '/' || ch == '+' || ch == '#' || static_cast<unsigned char>(ch) < 0x20)
            ch = '_';
    }
    return "sts/" + (level.empty() ? std::string("station") : level);
}

}  // namespace treld
