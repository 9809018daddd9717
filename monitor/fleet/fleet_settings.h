// mqtt.cfg beside the program: where the monitor publishes and where it
// serves its metrics. Lines of "KEY:value" as in sts.cfg.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace treld {

struct FleetSettings {
    std::string host;   // HOST: the broker; empty: no MQTT
    int port = 0;       // PORT: 0 means 1883, or 8883 with CAFILE
    std::string topic;  // TOPIC: the prefix; empty: sts/<station name or host name>
    std::string username;
    std::string password;
    std::string caFile;                        // CAFILE: TLS with this CA
    int metricsPort = 0;                       // METRICS: 0 serves no metrics
    std::string metricsAddress = "127.0.0.1";  // METRICSADDRESS:
    std::string board;                         // BOARD: the stations' topic filter; empty: no board
    std::string page;                          // PAGE: this station's page for other boards

    int brokerPort() const { return port != 0 ? port : caFile.empty() ? 1883 : 8883; }
    // PAGE:, else the endpoint's address when it listens beyond this PC (the
    // host name for every interface), else "".
    std::string pageAddress(std::string_view hostName) const;
};

// The settings of a mqtt.cfg text, or nothing with `error` set to a text
// for the status line when a value is unusable.
std::optional<FleetSettings> readFleetSettings(std::string_view text, std::string& error);

// The settings of mqtt.cfg. Nothing with an empty `error` when there is no
// such file (the station publishes nothing); anything but a regular file of
// at most 64 KiB is an error.
std::optional<FleetSettings> readFleetSettingsFile(const std::filesystem::path& file,
                                                   std::string& error);

// "sts/" and the station name, or the host name when the station has none;
// characters that would split or widen a topic become "_".
std::string defaultTopic(std::string_view stationName, std::string_view hostName);

}  // namespace treld
