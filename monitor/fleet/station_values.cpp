#include "fleet/station_values.h"

#include <charconv>

#include "fleet/text_formats.h"

namespace treld {
namespace {

constexpr MeasurementField kMeasurements[] = {
    {"Label8", "source1_l1_voltage", "Source1 L1 voltage", "treld_source_voltage_volts", "1", "L1",
     "V", "voltage", 1},
    {"Label10", "source1_l2_voltage", "Source1 L2 voltage", "treld_source_voltage_volts", "1", "L2",
     "V", "voltage", 1},
    {"Label12", "source1_l3_voltage", "Source1 L3 voltage", "treld_source_voltage_volts", "1", "L3",
     "V", "voltage", 1},
    {"Label26", "source1_frequency", "Source1 frequency", "treld_source_frequency_hertz", "1", "",
     "Hz", "frequency", 10},
    {"Label14", "source2_l1_voltage", "Source2 L1 voltage", "treld_source_voltage_volts", "2", "L1",
     "V", "voltage", 1},
    {"Label16", "source2_l2_voltage", "Source2 L2 voltage", "treld_source_voltage_volts", "2", "L2",
     "V", "voltage", 1},
    {"Label1", "source2_l3_voltage", "Source2 L3 voltage", "treld_source_voltage_volts", "2", "L3",
     "V", "voltage", 1},
    {"Label4", "source2_frequency", "Source2 frequency", "treld_source_frequency_hertz", "2", "",
     "Hz", "frequency", 10},
    {"Label19", "output_l1_load", "Output L1 load", "treld_output_load_percent", "", "L1", "%", "",
     1},
    {"Label21", "output_l2_load", "Output L2 load", "treld_output_load_percent", "", "L2", "%", "",
     1},
    {"Label23", "output_l3_load", "Output L3 load", "treld_output_load_percent", "", "L3", "%", "",
     1},
    {"Label42", "output_l1_current", "Output L1 current", "treld_output_current_amperes", "", "L1",
     "A", "current", 1},
    {"Label43", "output_l2_current", "Output L2 current", "treld_output_current_amperes", "", "L2",
     "A", "current", 1},
    {"Label44", "output_l3_current", "Output L3 current", "treld_output_current_amperes", "", "L3",
     "A", "current", 1},
    {"Label47", "temperature", "Temperature", "treld_temperature_celsius", "", "",
     "\xB0"
     "C",
     "temperature", 1},
    {"Label49", "sync_angle", "SYNC angle", "treld_sync_angle_degrees", "", "", "\xB0", "", 1},
};

constexpr FaultField kFaults[] = {
    {"Label2", "source1"},
    {"Label27", "source2"},
    {"Label28", "output"},
};

}  // namespace

std::span<const MeasurementField> measurementFields() {
    return kMeasurements;
}

std::optional<double> measurementValue(Core& c, const MeasurementField& field) {
    const std::string& text = c.form1(field.label).caption();
    const std::size_t digits = text.find_first_not_of("0123456789");
    const std::size_t end = digits == std::string::npos ? text.size() : digits;
    if (end == 0 || (end < text.size() && text[end] != ' '))
        return std::nullopt;
    long number = 0;
    std::from_chars(text.data(), text.data() + end, number);
    return static_cast<double>(number) / field.divisor;
}

std::span<const FaultField> faultFields() {
    return kFaults;
}

std::string alarmName(const FlagPosition& lamp) {
    return slug(lamp.lampCaption);
}

bool statusKnown(const Core& c) {
    return !c.status.CurrentStatus.empty();
}

std::string_view loginState(const DecodedStatus& status) {
    if (status.ServiceLoginActive != 0)
        return "Service Login";
    return status.UserLoginActive != 0 ? "User Login" : "Logout";
}

LinkState linkState(const Core& c) {
    if (c.s.DemoMode != 0)
        return {"demo", "", c.counters.linkUp()};
    if (c.s.RemoteMode != 0) {
        return {"remote", c.s.RemoteAddress + ":" + std::to_string(c.config.RemotePort),
                c.counters.linkUp()};
    }
    return {"serial", "COM" + std::to_string(c.config.ComPort), c.counters.linkUp()};
}

int relayClients(const Core& c) {
    int clients = 0;
    for (int slot = 1; slot <= kRelaySlotCount; ++slot)
        clients += c.s.RelaySlots[slot].state != RelaySlotState::Free ? 1 : 0;
    return clients;
}

}  // namespace treld
