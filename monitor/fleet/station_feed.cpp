#include "fleet/station_feed.h"

#include <cstdio>

#include "fleet/payloads.h"
#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "foundation/iso_time.h"
#include "status/link_watch.h"
#include "status/schematic.h"

namespace treld {
namespace {

constexpr Int16 kProgramStartEvent = 1;

std::string colourText(std::uint32_t colour) {  // 0x00BBGGRR as "#rrggbb"
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

template <typename Items, typename Each>
std::string jsonArray(const Items& items, Each each) {
    std::string out = "[";
    for (const auto& item : items)
        out += (out.size() > 1 ? "," : "") + each(item);
    return out + "]";
}

}  // namespace

StationFeed::StationFeed(const DeviceCore& c, std::string hostName)
    : c_(c), hostName_(std::move(hostName)) {}

void StationFeed::event(Int16 code, std::string_view text, const LocalDateTime& at) {
    recent_.push_back(eventJson(code, text, at));
    if (recent_.size() > kRecentEvents)
        recent_.pop_front();
    if (code == kProgramStartEvent || code == kLinkLostEvent || code == kLinkRestoredEvent)
        linkSince_ = jsonString(isoLocalTime(at.epochSeconds, at.utcOffsetSeconds));
}

std::string StationFeed::name() const {
    return c_.config.StationName.empty() ? hostName_ : c_.config.StationName;
}

std::string StationFeed::head() const {
    return "{\"station\":" + jsonString(name()) + ",\"link_since\":" + linkSince_;
}

std::string StationFeed::statusJson() const {
    return head() + ",\"status\":" + treld::statusJson(c_) + "}";
}

std::string StationFeed::measurementsJson() const {
    JsonObject units;
    for (const PanelQuantity& quantity : kPanelQuantities)
        units.text(quantityKey(quantity), unitOf(quantity));
    return JsonObject()
        .raw("measurements", treld::measurementsJson(c_))
        .raw("units", units.done())
        .done();
}

std::string StationFeed::stateJson() const {
    JsonObject shown;
    for (const SchematicLine& line : schematicLines())
        shown.raw(line.name, c_.ui(Form::Form1, line.name).visible() ? "true" : "false");
    for (const SchematicSwitch& sw : schematicSwitches())
        shown.raw(sw.closed, c_.ui(Form::Form1, sw.closed).visible() ? "true" : "false");
    return head() + ",\"status\":" + treld::statusJson(c_) +
           ",\"measurements\":" + treld::measurementsJson(c_) + ",\"schematic\":" + shown.done() +
           ",\"events\":" + jsonArray(recent_, [](const std::string& e) { return e; }) + "}";
}

std::string layoutJson() {
    const std::string lines = jsonArray(schematicLines(), [](const SchematicLine& line) {
        return JsonObject()
            .text("name", line.name)
            .text("colour", colourText(line.colour))
            .raw("x1", std::to_string(line.x1))
            .raw("y1", std::to_string(line.y1))
            .raw("x2", std::to_string(line.x2))
            .raw("y2", std::to_string(line.y2))
            .done();
    });
    const std::string switches = jsonArray(schematicSwitches(), [](const SchematicSwitch& sw) {
        return JsonObject()
            .text("name", sw.closed)
            .text("title", sw.tooltip)
            .raw("left", std::to_string(sw.left))
            .raw("top", std::to_string(sw.top))
            .raw("width", std::to_string(kSwitchWidth))
            .raw("height", std::to_string(kClosedSwitchHeight))
            .done();
    });
    const std::string boxes = jsonArray(schematicBoxes(), [](const SchematicBox& box) {
        return JsonObject()
            .text("name", box.element.name)
            .text("title", box.title)
            .raw("left", std::to_string(box.left))
            .raw("top", std::to_string(box.top))
            .raw("width", std::to_string(box.width))
            .raw("height", std::to_string(box.height))
            .done();
    });
    const std::string lamps = jsonArray(lampsInOrder(), [](const FlagPosition* lamp) {
        return JsonObject()
            .text("name", alarmName(*lamp))
            .text("caption", lamp->lampCaption)
            .done();
    });
    const std::string quantities = jsonArray(kPanelQuantities, [](const PanelQuantity& q) {
        return JsonObject()
            .text("name", quantityKey(q))
            .text("title", q.title)
            .text("unit", unitOf(q))
            .raw("source", std::to_string(q.source))
            .done();
    });
    return JsonObject()
        .raw("schematic",
             JsonObject().raw("lines", lines).raw("switches", switches).raw("boxes", boxes).done())
        .raw("alarms", lamps)
        .raw("quantities", quantities)
        .done();
}

}  // namespace treld
