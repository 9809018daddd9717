#include "fleet/payloads.h"

#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "foundation/iso_time.h"
#include "records/log_recovery.h"

namespace treld {
namespace {

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

std::string transferJson(const DecodedStatus& status) {
    const Int16 source = status.SourceIndicator;
    return JsonObject()
        .raw("source", source == 0 || source == 1 ? std::to_string(source + 1) : "null")
        .raw("path", std::to_string(status.PathCode))
        .done();
}

std::string alarmsJson(const DecodedStatus& status) {
    JsonObject alarms;
    for (const FlagPosition* lamp : lampsInOrder())
        alarms.raw(alarmName(*lamp), jsonBool(status.StatusFlags[lamp->lamp] != 0));
    return alarms.done();
}

// The parts every discovery message of the station shares.
struct DiscoveryDevice {
    std::string node;  // the prefix as an id
    std::string prefix;
    std::string deviceJson;
};

BrokerMessage discoveryMessage(const DiscoveryDevice& device, std::string_view component,
                               std::string_view id, JsonObject config) {
    const std::string uniqueId = device.node + "_" + std::string(id);
    config.text("unique_id", uniqueId)
        .text("object_id", uniqueId)
        .text("availability_topic", device.prefix + "/online")
        .raw("device", device.deviceJson);
    return {"homeassistant/" + std::string(component) + "/" + device.node + "/" + std::string(id) +
                "/config",
            config.done(), 1, true};
}

}  // namespace

std::string measurementsJson(const DeviceCore& c) {
    JsonObject values;
    for (const PanelQuantity& quantity : kPanelQuantities) {
        const std::optional<double> value = measurementValue(c, quantity);
        values.raw(quantityKey(quantity), value ? numberText(*value) : "null");
    }
    return values.done();
}

std::string statusJson(const DeviceCore& c, std::string_view station, std::string_view page) {
    const LinkState link = linkState(c);
    JsonObject status;
    if (!station.empty())
        status.text("station", station);
    if (!page.empty())
        status.text("page", page);
    status.raw("link", JsonObject()
                           .text("kind", link.kind)
                           .text("peer", link.peer)
                           .raw("up", jsonBool(link.up))
                           .done());
    if (!statusKnown(c))
        return status.done();
    JsonObject faults;
    for (const FaultField& field : faultFields())
        faults.text(field.key, c.ui(field.label.form, field.label.name).caption());
    return status.text("login", loginState(c.status))
        .raw("transfer", transferJson(c.status))
        .raw("faults", faults.done())
        .raw("alarms", alarmsJson(c.status))
        .done();
}

std::string eventJson(Int16 code, std::string_view text, const LocalDateTime& at) {
    JsonObject event;
    event.raw("code", std::to_string(code))
        .text("time", isoLocalTime(at.epochSeconds, at.utcOffsetSeconds))
        .text("text", text);
    if (code == kRecoveredEvent)
        event.raw("recovered", "true");  // stamped with the device's own time of the event
    return event.done();
}

std::vector<BrokerMessage> discoveryMessages(std::string_view prefix, std::string_view station) {
    DiscoveryDevice device{slug(prefix), std::string(prefix), ""};
    device.deviceJson = JsonObject()
                            .raw("identifiers", "[" + jsonString(device.node) + "]")
                            .text("name", station)
                            .text("model", "Static transfer switch")
                            .done();
    const std::string measurements = device.prefix + "/measurements";
    const std::string status = device.prefix + "/status";
    std::vector<BrokerMessage> messages;
    for (const PanelQuantity& quantity : kPanelQuantities) {
        const QuantityFamily& family = familyOf(quantity);
        const std::string key = quantityKey(quantity);
        JsonObject config;
        config.text("name", quantity.title)
            .text("state_topic", measurements)
            .text("value_template", "{{ value_json." + key + " }}")
            .text("unit_of_measurement", unitOf(quantity))
            .text("state_class", "measurement");
        if (!family.deviceClass.empty())
            config.text("device_class", family.deviceClass);
        messages.push_back(discoveryMessage(device, "sensor", key, std::move(config)));
    }
    for (const FlagPosition* lamp : lampsInOrder()) {
        const std::string name = alarmName(*lamp);
        JsonObject config;
        config.text("name", lamp->lampCaption)
            .text("state_topic", status)
            .text("value_template", "{{ 'ON' if value_json.alarms." + name + " else 'OFF' }}")
            .text("device_class", "problem");
        messages.push_back(discoveryMessage(device, "binary_sensor", name, std::move(config)));
    }
    JsonObject link;
    link.text("name", "Link")
        .text("state_topic", status)
        .text("value_template", "{{ 'ON' if value_json.link.up else 'OFF' }}")
        .text("device_class", "connectivity");
    messages.push_back(discoveryMessage(device, "binary_sensor", "link", std::move(link)));
    return messages;
}

}  // namespace treld
