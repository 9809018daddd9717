#include "fleet/fleet_board.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "fleet/json_reader.h"
#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "foundation/iso_time.h"

namespace treld {
namespace {

// What a lit lamp means for the load, worst first; the other lamps follow in
// lamp order.
constexpr std::array kWorstFirst{"output_sw_off",    "output_bad",       "overload",
                                 "overtemperature",  "s1_scr_bad",       "s2_scr_bad",
                                 "dc_psp_1_failure", "dc_psp_2_failure", "source1_bad",
                                 "source2_bad",      "s1_blackout",      "s2_blackout",
                                 "syncron_bad",      "transfer_inhibit", "non_sync_inhibit"};

struct Lamp {
    std::string name;
    std::string_view caption;
    std::size_t rank;
};

const std::vector<Lamp>& lampsByName() {
    static const std::vector<Lamp> lamps = [] {
        std::vector<Lamp> all;
        for (const FlagPosition* lamp : lampsInOrder()) {
            const std::string name = alarmName(*lamp);
            const auto worst = std::ranges::find(kWorstFirst, name);
            std::string_view caption = lamp->lampCaption;  // "Source2 BAD " has a blank
            while (caption.ends_with(' '))
                caption.remove_suffix(1);
            all.push_back({name, caption,
                           worst != kWorstFirst.end()
                               ? static_cast<std::size_t>(worst - kWorstFirst.begin())
                               : kWorstFirst.size() + all.size()});
        }
        return all;
    }();
    return lamps;
}

// At most kBoardTextChars characters of `text`, as UTF-8.
std::string clip(std::string_view text) {
    const std::string utf8 = toUtf8(text);
    std::size_t end = 0;
    for (std::size_t count = 0; end < utf8.size() && count < kBoardTextChars; ++count)
        end += std::max<std::size_t>(1, utf8SequenceLength(utf8, end));
    return utf8.substr(0, end);
}

bool isPageAddress(std::string_view text) {
    // Only a web address becomes a link: the page never follows javascript: or data:.
    return text.size() <= kBoardTextChars &&
           (text.starts_with("http://") || text.starts_with("https://")) &&
           std::ranges::none_of(text, [](char ch) {
               return static_cast<unsigned char>(ch) <= 0x20 || ch == '"' || ch == '<' ||
                      ch == '>' || ch == '\\' || static_cast<unsigned char>(ch) >= 0x7F;
           });
}

// The status's feed, link and alarms onto the tile; false when it is not a
// status payload.
bool readStatus(const JsonValue& status, Tile& tile) {
    const JsonValue* link = status.member("link");
    const JsonValue* up = link != nullptr ? link->member("up") : nullptr;
    if (up == nullptr || up->kind != JsonValue::Kind::Bool)
        return false;
    tile.statusKnown = true;
    tile.linkUp = up->boolean;
    tile.link = clip(std::string(link->textOf("kind")) + " " + std::string(link->textOf("peer")));
    if (const std::string_view name = status.textOf("station"); !name.empty())
        tile.name = clip(name);
    const std::string_view page = status.textOf("page");
    tile.page = isPageAddress(page) ? std::string(page) : "";

    std::size_t worst = SIZE_MAX;
    tile.worstAlarm.clear();
    tile.alarms = 0;
    std::vector<std::string_view> lit;
    if (const JsonValue* alarms = status.member("alarms")) {
        for (std::size_t i = 0; i < alarms->keys.size(); ++i) {
            const std::string& name = alarms->keys[i];
            const JsonValue& on = alarms->items[i];
            if (on.kind != JsonValue::Kind::Bool || !on.boolean)
                continue;
            ++tile.alarms;
            lit.push_back(name);
            const auto& lamps = lampsByName();
            const auto lamp = std::ranges::find(lamps, name, &Lamp::name);
            // A name this version does not know ranks after every known one.
            const std::size_t rank = lamp != lamps.end() ? lamp->rank : SIZE_MAX - 1;
            if (rank < worst) {
                worst = rank;
                tile.worstAlarm = clip(lamp != lamps.end() ? lamp->caption : name);
            }
        }
    }
    auto isLit = [&](std::string_view name) { return std::ranges::find(lit, name) != lit.end(); };
    const JsonValue* transfer = status.member("transfer");
    const JsonValue* source = transfer != nullptr ? transfer->member("source") : nullptr;
    if (isLit("output_sw_off"))
        tile.feed = "Output off";
    else if (isLit("bypass_to_s1") || isLit("bypass_to_s2"))
        tile.feed = isLit("bypass_to_s1") ? "Bypass to S1" : "Bypass to S2";
    else if (source != nullptr && source->kind == JsonValue::Kind::Number &&
             (source->number == 1 || source->number == 2))
        tile.feed = source->number == 1 ? "Source 1" : "Source 2";
    else
        tile.feed.clear();
    return true;
}

std::optional<BoardEvent> readEvent(const JsonValue& event, std::int64_t now) {
    const JsonValue* code = event.member("code");
    const JsonValue* text = event.member("text");
    if (code == nullptr || code->kind != JsonValue::Kind::Number || text == nullptr ||
        text->kind != JsonValue::Kind::String || code->number < 0 || code->number > 32767)
        return std::nullopt;
    return BoardEvent{static_cast<int>(code->number), clip(text->text),
                      parseIsoLocalTime(event.textOf("time")).value_or(now)};
}

constexpr std::array<std::string_view, 5> kStateNames{"red", "nolink", "offline", "unknown",
                                                      "green"};

std::string tileJson(const std::string& prefix, const Tile& tile) {
    JsonObject out;
    out.text("key", prefix)
        .text("name", tile.name)
        .text("state", kStateNames[static_cast<std::size_t>(tile.state())])
        .raw("online", tile.online ? (*tile.online ? "true" : "false") : "null")
        .raw("since", std::to_string(tile.since))
        .raw("sinceKnown", tile.sinceKnown ? "true" : "false");
    if (tile.statusKnown) {
        out.text("link", tile.link)
            .raw("linkUp", tile.linkUp ? "true" : "false")
            .text("feed", tile.feed)
            .text("alarm", tile.worstAlarm)
            .raw("alarms", std::to_string(tile.alarms));
    }
    if (tile.event) {
        out.raw("event", JsonObject()
                             .raw("code", std::to_string(tile.event->code))
                             .text("text", tile.event->text)
                             .raw("at", std::to_string(tile.event->at))
                             .done());
    }
    if (!tile.page.empty())
        out.text("page", tile.page);
    return out.done();
}

}  // namespace

TileState Tile::state() const {
    if (online == false)
        return TileState::Offline;
    if (!statusKnown)
        return TileState::Unknown;
    if (!linkUp)
        return TileState::NoLink;
    return alarms > 0 ? TileState::Red : TileState::Green;
}

Tile* FleetBoard::tileOf(std::string_view prefix) {
    if (const auto found = tiles_.find(std::string(prefix)); found != tiles_.end())
        return &found->second;
    if (tiles_.size() >= kBoardStations) {
        ++tooMany_;
        ++version_;
        return nullptr;
    }
    Tile& tile = tiles_[std::string(prefix)];
    tile.name = clip(prefix.substr(prefix.rfind('/') + 1));
    return &tile;
}

void FleetBoard::refuse(std::string_view topic, std::string_view why) {
    ++refused_;
    ++version_;
    lastRefusal_ = clip(topic) + ": " + std::string(why);
}

void FleetBoard::receive(std::string_view topic, std::string_view payload, bool retained,
                         std::int64_t now) {
    const std::size_t slash = topic.rfind('/');
    if (topic.size() > kBoardTopicBytes || slash == std::string_view::npos || slash == 0)
        return refuse(topic.substr(0, kBoardTopicBytes), "not a station's topic");
    if (payload.size() > kBoardPayloadBytes)
        return refuse(topic, "longer than 16 KiB");
    const std::string_view prefix = topic.substr(0, slash), level = topic.substr(slash + 1);
    if (level == "online" && payload.empty()) {
        // A retained online topic cleared: the station is gone for good.
        version_ += tiles_.erase(std::string(prefix));
        return;
    }
    if (level == "online" && payload != "online" && payload != "offline")
        return refuse(topic, "neither online nor offline");
    if (level != "online" && level != "status" && level != "event")
        return refuse(topic, "not a station's topic");
    std::optional<JsonValue> json;
    if (level != "online" && !(json = readJson(payload)))
        return refuse(topic, "not JSON");
    Tile probe;  // read first, so a refused payload changes no tile
    std::optional<BoardEvent> event;
    if (level == "status" && !readStatus(*json, probe))
        return refuse(topic, "not a station's status");
    if (level == "event" && !(event = readEvent(*json, now)))
        return refuse(topic, "not a station's event");
    Tile* tile = tileOf(prefix);
    if (tile == nullptr)
        return;
    ++version_;
    if (level == "online") {
        tile->online = payload == "online";
        tile->since = now;
        tile->sinceKnown = !retained;
    } else if (level == "status") {
        readStatus(*json, *tile);
    } else {
        tile->event = std::move(event);
    }
}

void FleetBoard::brokerLost(std::int64_t now) {
    if (!connected_)
        return;
    connected_ = false;
    lostAt_ = now;
    ++version_;
}

void FleetBoard::brokerConnected() {
    connected_ = true;
    ++version_;
}

void FleetBoard::dropped(std::uint64_t count) {
    dropped_ += count;
    ++version_;
}

std::string FleetBoard::json(std::int64_t now) const {
    std::vector<std::pair<const std::string*, const Tile*>> order;
    for (const auto& [prefix, tile] : tiles_)
        order.emplace_back(&prefix, &tile);
    auto rank = [](const Tile& tile) {
        std::string name = tile.name;
        std::ranges::transform(name, name.begin(),
                               [](unsigned char ch) { return std::tolower(ch); });
        return std::pair(tile.state(), name);
    };
    std::ranges::stable_sort(
        order, [&](const auto& a, const auto& b) { return rank(*a.second) < rank(*b.second); });
    std::string stations = "[";
    for (const auto& [prefix, tile] : order)
        stations += (stations.size() > 1 ? "," : "") + tileJson(*prefix, *tile);
    std::string note;
    if (tooMany_ > 0)
        note += "Board full at " + std::to_string(kBoardStations) +
                " stations: " + std::to_string(tooMany_) +
                " messages of further stations ignored. ";
    if (dropped_ > 0)
        note += std::to_string(dropped_) + " messages dropped in a flood. ";
    if (refused_ > 0)
        note +=
            std::to_string(refused_) + " messages not understood, the latest " + lastRefusal_ + ".";
    JsonObject out;
    out.raw("now", std::to_string(now)).raw("connected", connected_ ? "true" : "false");
    if (!connected_ && lostAt_ != 0)
        out.raw("lostAt", std::to_string(lostAt_));
    return out.text("note", note.ends_with(' ') ? note.substr(0, note.size() - 1) : note)
        .raw("stations", stations + "]")
        .done();
}

}  // namespace treld
