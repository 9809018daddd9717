#include "fleet/notify_settings.h"

#include "foundation/file_append.h"
#include "foundation/station_config.h"

namespace treld {
namespace {

constexpr struct {
    std::string_view key;
    NotifyTarget::Kind kind;
} kTargetKeys[] = {
    {"WEBHOOK:", NotifyTarget::Kind::Webhook},
    {"NTFY:", NotifyTarget::Kind::Ntfy},
    {"COMMAND:", NotifyTarget::Kind::Command},
    {"HEARTBEAT:", NotifyTarget::Kind::Heartbeat},
};

constexpr struct {
    std::string_view name;
    unsigned kind;
} kEventNames[] = {
    {"alarms", kAlarmEvents},
    {"link", kLinkEvents},
    {"recovered", kRecoveredEvents},
    {"program", kProgramEvents},
};

bool isUrl(std::string_view value) {
    const bool schemed = value.starts_with("http://") || value.starts_with("https://");
    return schemed && value.find_first_of(" \t\"<>") == std::string_view::npos &&
           value.size() > value.find("//") + 2;
}

// "alarms,link": the kinds named, or 0 when a name is unknown.
unsigned eventList(std::string_view value) {
    unsigned kinds = 0;
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        std::string_view name = value.substr(0, comma);
        while (name.starts_with(' '))
            name.remove_prefix(1);
        while (name.ends_with(' '))
            name.remove_suffix(1);
        unsigned kind = 0;
        for (const auto& known : kEventNames)
            kind = known.name == name ? known.kind : kind;
        if (kind == 0)
            return 0;
        kinds |= kind;
        value = comma == std::string_view::npos ? "" : value.substr(comma + 1);
    }
    return kinds;
}

// Why a line is not taken; empty when it is.
std::string readLine(std::string_view key, std::string_view value, NotifySettings& settings) {
    NotifyTarget* last = settings.targets.empty() ? nullptr : &settings.targets.back();
    using Kind = NotifyTarget::Kind;
    for (const auto& target : kTargetKeys) {
        if (key != target.key)
            continue;
        if (target.kind != Kind::Command && !isUrl(value))
            return "not an http:// or https:// URL";
        if (value.empty())
            return "no program";
        settings.targets.push_back({target.kind, std::string(value)});
        return "";
    }
    if (key == "CAFILE:") {
        settings.caFile = value;
    } else if (key == "TOKEN:") {
        if (last == nullptr || last->kind != Kind::Ntfy)
            return "TOKEN: belongs below an NTFY: line";
        last->token = value;
    } else if (key == "EVENTS:") {
        if (last == nullptr || last->kind == Kind::Heartbeat)
            return "EVENTS: belongs below a WEBHOOK:, NTFY: or COMMAND: line";
        const unsigned kinds = eventList(value);
        if (kinds == 0)
            return "EVENTS: takes alarms, link, recovered, program";
        last->events = kinds;
    } else if (key == "INTERVAL:") {
        if (last == nullptr || last->kind != Kind::Heartbeat)
            return "INTERVAL: belongs below a HEARTBEAT: line";
        const std::optional<Int16> seconds = configInteger(value);
        if (!seconds || *seconds < 10)
            return "INTERVAL: takes seconds from 10 to 32767";
        last->intervalSeconds = *seconds;
    } else {
        return "unknown key";
    }
    return "";
}

}  // namespace

unsigned eventKind(Int16 code) {
    switch (code) {
        case 1:
        case 2:
            return kProgramEvents;
        case 100:
            return kAlarmEvents;
        case 110:
            return kRecoveredEvents;
        case 200:
        case 201:
            return kLinkEvents;
        default:
            return 0;
    }
}

NotifySettings readNotifySettings(std::string_view text, std::vector<std::string>& problems) {
    NotifySettings settings;
    int lineNumber = 0;
    forEachConfigLine(text, [&](std::string_view key, std::string_view value) {
        ++lineNumber;
        if (key.empty() && value.empty())
            return true;  // a blank line
        if (const std::string why = readLine(key, value, settings); !why.empty())
            problems.push_back("notify.cfg line " + std::to_string(lineNumber) +
                               " not understood: " + why);
        return true;
    });
    return settings;
}

NotifySettings readNotifySettingsFile(const std::filesystem::path& dir,
                                      std::vector<std::string>& problems) {
    constexpr std::size_t kLimit = 64 * 1024;
    std::string problem;
    const std::optional<std::string> text = readFileStart(dir / "notify.cfg", kLimit + 1, problem);
    if (!problem.empty() || (text && text->size() > kLimit)) {
        problems.push_back("notify.cfg: not a readable settings file" +
                           (problem.empty() ? "" : ": " + problem));
        return {};
    }
    NotifySettings settings = text ? readNotifySettings(*text, problems) : NotifySettings{};
    for (NotifyTarget& target : settings.targets) {
        if (target.kind == NotifyTarget::Kind::Command)
            target.address = (dir / target.address).string();  // an absolute one stays
    }
    return settings;
}

}  // namespace treld
