// The fleet board: one tile per station, read from the topics every station
// publishes (online, status, event; see fleet.h), for the web page /fleet.
// It only reads: nothing of what it receives goes anywhere but the page.
// Whatever the broker sends, it holds at most kBoardStations tiles of bounded
// texts and says in its note what it left out.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace treld {

inline constexpr std::size_t kBoardStations = 500;
// A station's status is about 1.5 KiB; a message this long is nobody's.
inline constexpr std::size_t kBoardPayloadBytes = 16 * 1024;
inline constexpr std::size_t kBoardTopicBytes = 256;
// Longer names and texts are cut to this many characters.
inline constexpr std::size_t kBoardTextChars = 120;

enum class TileState { Red, NoLink, Offline, Unknown, Green };  // the board's order

struct BoardEvent {
    int code = 0;
    std::string text;
    std::int64_t at = 0;  // its own time, else when it arrived
};

struct Tile {
    std::string name;            // the status's "station", else the prefix's last level
    std::optional<bool> online;  // nothing until its online topic came
    std::int64_t since = 0;      // when it turned online or offline
    bool sinceKnown = false;     // false: a retained message, it turned before the board looked
    bool statusKnown = false;
    bool linkUp = false;
    std::string link;        // "serial COM1"
    std::string feed;        // "Source 2", "Output off", "Bypass to S1", ""
    std::string worstAlarm;  // a lamp caption, "" when none is lit
    int alarms = 0;
    std::optional<BoardEvent> event;
    std::string page;  // http(s) address of the station's page, or ""

    TileState state() const;
};

class FleetBoard {
  public:
    // A message of a subscribed topic at `now` (seconds since 1970), `retained`
    // as the broker flagged it: one stored before the board subscribed.
    void receive(std::string_view topic, std::string_view payload, bool retained, std::int64_t now);
    // The board's own broker connection: while it is lost every tile may be stale.
    void brokerLost(std::int64_t now);
    void brokerConnected();
    // Messages the client dropped before they reached the board (a flood).
    void dropped(std::uint64_t count);

    // {"now":..,"connected":..,"note":"..","stations":[tile, ...]}: red first,
    // then link lost, offline, not yet known, green; by name within each,
    // whatever its case.
    std::string json(std::int64_t now) const;
    // Counts every change of what json() shows but the time.
    std::uint64_t version() const { return version_; }

    const std::map<std::string, Tile>& tiles() const { return tiles_; }

  private:
    Tile* tileOf(std::string_view prefix);
    void refuse(std::string_view topic, std::string_view why);

    std::map<std::string, Tile> tiles_;  // by topic prefix
    std::uint64_t version_ = 0;
    std::uint64_t refused_ = 0;
    std::string lastRefusal_;
    std::uint64_t tooMany_ = 0;  // messages of stations beyond kBoardStations
    std::uint64_t dropped_ = 0;
    bool connected_ = false;
    std::int64_t lostAt_ = 0;  // 0: never connected
};

}  // namespace treld
