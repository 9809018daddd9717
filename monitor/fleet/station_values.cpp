#include "fleet/station_values.h"

#include <algorithm>

#include "fleet/text_formats.h"
#include "link/line.h"
#include "status/status_controls.h"

namespace treld {
namespace {

constexpr QuantityFamily kFamilies[] = {
    {QuantityKind::Voltage, "treld_source_voltage_volts", "Phase voltage of a source.", "voltage",
     ""},
    {QuantityKind::Frequency, "treld_source_frequency_hertz", "Frequency of a source.", "frequency",
     ""},
    {QuantityKind::Load, "treld_output_load_percent", "Load of an output phase.", "", ""},
    {QuantityKind::Current, "treld_output_current_amperes", "Current of an output phase.",
     "current", ""},
    {QuantityKind::Temperature, "treld_temperature_celsius", "Temperature of the switch.",
     "temperature",
     "\xB0"
     "C"},
    {QuantityKind::SyncAngle, "treld_sync_angle_degrees", "Angle between the two sources.", "",
     "\xB0"},
};

constexpr FaultField kFaults[] = {
    {kSource1Fault, "source1"},
    {kSource2Fault, "source2"},
    {kOutputFault, "output"},
};

}  // namespace

std::span<const QuantityFamily> quantityFamilies() {
    return kFamilies;
}

const QuantityFamily& familyOf(const PanelQuantity& quantity) {
    return *std::find_if(
        std::begin(kFamilies), std::end(kFamilies),
        [&](const QuantityFamily& family) { return family.kind == quantity.kind; });
}

std::string_view unitOf(const PanelQuantity& quantity) {
    const QuantityFamily& family = familyOf(quantity);
    return family.unitSymbol.empty() ? quantity.unit : family.unitSymbol;
}

std::string quantityKey(const PanelQuantity& quantity) {
    return slug(quantity.title);
}

std::optional<double> measurementValue(const DeviceCore& c, const PanelQuantity& quantity) {
    const PanelReading& reading = c.readings.of(quantity.group);
    const std::int16_t number = reading.numbers[quantity.field];
    if (!reading.current || number == kNotANumber)
        return std::nullopt;
    return static_cast<double>(number) / quantity.divisor;
}

std::span<const FaultField> faultFields() {
    return kFaults;
}

std::string alarmName(const FlagPosition& lamp) {
    return slug(lamp.lampCaption);
}

bool statusKnown(const DeviceCore& c) {
    return !c.status.CurrentStatus.empty();
}

std::string_view loginState(const DecodedStatus& status) {
    if (status.ServiceLoginActive != 0)
        return "Service Login";
    return status.UserLoginActive != 0 ? "User Login" : "Logout";
}

LinkState linkState(const DeviceCore& c) {
    const Transport& t = c.line.transport();
    return {t.kind, t.peerName(c), !c.line.health().lost};
}

}  // namespace treld
