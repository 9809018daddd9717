#include "link/measurements.h"

#include <array>

#include "link/exchange.h"
#include "link/status_texts.h"

namespace treld {
namespace {

struct Field {
    ElementName label;
    std::size_t first;  // position in the reply, counted from 1
    std::size_t width;
    std::string_view unit;
};

constexpr std::array<Field, 8> kSourceFields = {{
    {kSource1Values[0], 2, 3, ""},
    {kSource1Values[1], 6, 3, ""},
    {kSource1Values[2], 10, 3, ""},
    {kSource1Values[3], 26, 4, ""},
    {kSource2Values[0], 14, 3, ""},
    {kSource2Values[1], 18, 3, ""},
    {kSource2Values[2], 22, 3, ""},
    {kSource2Values[3], 31, 4, ""},
}};

// The first six are the load and current fields that a time-out blanks.
constexpr std::array<Field, 8> kOutputFields = {{
    {kOutputLoads[0], 2, 3, ""},
    {kOutputLoads[1], 6, 3, ""},
    {kOutputLoads[2], 10, 3, ""},
    {kOutputCurrents[0], 14, 3, ""},
    {kOutputCurrents[1], 18, 3, ""},
    {kOutputCurrents[2], 22, 3, ""},
    {kTemperature, 26, 3, " C"},
    {kSyncAngle, 30, 3, " deg"},
}};

// "#" at position 1 and spaces between the fields; the last space sits at 30
// in a "SRV" reply and at 29 in an "OPL" reply.
bool passesFormatTest(std::string_view reply, std::size_t lastSpace) {
    if (positions(reply, 1, 1) != "#")
        return false;
    for (std::size_t at : {std::size_t{5}, std::size_t{9}, std::size_t{13}, std::size_t{17},
                           std::size_t{21}, std::size_t{25}, lastSpace}) {
        if (positions(reply, at, 1) != " ")
            return false;
    }
    return true;
}

template <std::size_t N>
void decodePanel(Core& c, std::string_view command, std::size_t lastSpace,
                 const std::array<Field, N>& fields) {
    c.s.CheckedCommand = command;
    const std::string_view reply = c.s.Reply;
    if (!passesFormatTest(reply, lastSpace)) {
        datahata(c);
        return;
    }
    for (const Field& field : fields) {
        std::string text(positions(reply, field.first, field.width));
        text += field.unit;
        c.ui(field.label).setCaption(text);
    }
    c.ui(kStatusLine).setCaption(kDataOk);
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

void decodeSourcePanel(Core& c) {
    decodePanel(c, "SRV", 30, kSourceFields);
}
void decodeOutputPanel(Core& c) {
    decodePanel(c, "OPL", 29, kOutputFields);
}

void showVersion(Core& c) {
    c.ui(kStatusLine).setCaption(kDataOk);
    c.ui(kVersion).setCaption(c.s.Reply);
}

void showStsTime(Core& c) {
    c.ui(kStsTime).setCaption(std::string_view(c.s.Reply).substr(1));
}
void showStsDate(Core& c) {
    c.ui(kStsDate).setCaption(std::string_view(c.s.Reply).substr(1));
}

void blankSourcePanel(Core& c) {
    for (const Field& field : kSourceFields)
        c.ui(field.label).setCaption("");
}

void blankOutputPanel(Core& c) {
    for (std::size_t i = 0; i < 6; ++i)
        c.ui(kOutputFields[i].label).setCaption("");
}

}  // namespace treld
