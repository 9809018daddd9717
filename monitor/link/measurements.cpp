#include "link/measurements.h"

#include <array>

#include "link/line.h"

namespace treld {
namespace {

struct Field {
    ElementName label;
    std::size_t first;  // position in the reply, counted from 1
    std::size_t width;
    std::string_view unit;
};

// In reply order, which is the order of PanelReading::numbers.
constexpr std::array<Field, kReadingFields> kSourceFields = {{
    {kSource1Values[0], 2, 3, ""},
    {kSource1Values[1], 6, 3, ""},
    {kSource1Values[2], 10, 3, ""},
    {kSource2Values[0], 14, 3, ""},
    {kSource2Values[1], 18, 3, ""},
    {kSource2Values[2], 22, 3, ""},
    {kSource1Values[3], 26, 4, ""},
    {kSource2Values[3], 31, 4, ""},
}};

// The first six are the load and current fields that a time-out blanks.
constexpr std::array<Field, kReadingFields> kOutputFields = {{
    {kOutputLoads[0], 2, 3, ""},
    {kOutputLoads[1], 6, 3, ""},
    {kOutputLoads[2], 10, 3, ""},
    {kOutputCurrents[0], 14, 3, ""},
    {kOutputCurrents[1], 18, 3, ""},
    {kOutputCurrents[2], 22, 3, ""},
    {kTemperature, 26, 3, " C"},
    {kSyncAngle, 30, 3, " deg"},
}};

// The field as a number when it is all digits; the panel shows any text.
std::int16_t fieldNumber(std::string_view text) {
    int number = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9')
            return kNotANumber;
        number = number * 10 + (digit - '0');
    }
    return static_cast<std::int16_t>(number);
}

void decodePanel(LinkCore& c, const std::array<Field, kReadingFields>& fields,
                 PanelReading& reading) {
    const std::string_view reply = c.line.reply();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Field& field = fields[i];
        const std::string_view text = positions(reply, field.first, field.width);
        reading.numbers[i] = fieldNumber(text);
        c.ui(field.label).setCaption(std::string(text) + std::string(field.unit));
    }
    reading.news = PanelReading::News::Values;
    reading.current = true;
    c.statusLine.say(Said::DataOk);
}

}  // namespace

void declareMeasurementElements(DisplayModel& ui) {
    for (const Field& field : kSourceFields)
        ui.declare(field.label);
    for (const Field& field : kOutputFields)
        ui.declare(field.label);
    for (ElementName name : {kVersion, kStsTime, kStsDate})
        ui.declare(name);
}

void decodeSourcePanel(LinkCore& c) {
    decodePanel(c, kSourceFields, c.readings.source);
}
void decodeOutputPanel(LinkCore& c) {
    decodePanel(c, kOutputFields, c.readings.output);
}

void showVersion(LinkCore& c) {
    c.statusLine.say(Said::DataOk);
    c.ui(kVersion).setCaption(c.line.reply());
}

void showStsTime(LinkCore& c) {
    c.ui(kStsTime).setCaption(std::string_view(c.line.reply()).substr(1));
}
void showStsDate(LinkCore& c) {
    c.ui(kStsDate).setCaption(std::string_view(c.line.reply()).substr(1));
}

void blankSourcePanel(LinkCore& c) {
    for (const Field& field : kSourceFields)
        c.ui(field.label).setCaption("");
    c.readings.source.news = PanelReading::News::TimedOut;
    c.readings.source.current = false;
}

// Temperature and SYNC angle keep their last texts on the panel; the trend
// history and the fleet take the whole reply as lost.
void blankOutputPanel(LinkCore& c) {
    for (std::size_t i = 0; i < 6; ++i)
        c.ui(kOutputFields[i].label).setCaption("");
    c.readings.output.news = PanelReading::News::TimedOut;
    c.readings.output.current = false;
}

}  // namespace treld
