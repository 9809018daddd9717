#include "link/measurements.h"

#include <array>

#include "link/exchange.h"
#include "link/status_texts.h"

namespace treld {
namespace {

struct Field {
    std::string_view label;
    std::size_t first;  // position in the reply, counted from 1
    std::size_t width;
    std::string_view unit;
};

constexpr std::array<Field, 8> kSourceFields = {{
    {"Label8", 2, 3, ""},
    {"Label10", 6, 3, ""},
    {"Label12", 10, 3, ""},
    {"Label26", 26, 4, ""},
    {"Label14", 14, 3, ""},
    {"Label16", 18, 3, ""},
    {"Label1", 22, 3, ""},
    {"Label4", 31, 4, ""},
}};

// The first six are the load and current fields that a time-out blanks.
constexpr std::array<Field, 8> kOutputFields = {{
    {"Label19", 2, 3, ""},
    {"Label21", 6, 3, ""},
    {"Label23", 10, 3, ""},
    {"Label42", 14, 3, ""},
    {"Label43", 18, 3, ""},
    {"Label44", 22, 3, ""},
    {"Label47", 26, 3, " C"},
    {"Label49", 30, 3, " deg"},
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
        c.form1(field.label).setCaption(text);
    }
    c.form1("Label40").setCaption(kDataOk);
}

}  // namespace

void declareMeasurementElements(DisplayModel& ui) {
    for (const Field& field : kSourceFields)
        ui.declare(Form::Form1, std::string(field.label));
    for (const Field& field : kOutputFields)
        ui.declare(Form::Form1, std::string(field.label));
    for (const char* name : {"Label52", "Label80", "Label81"})
        ui.declare(Form::Form1, name);
}

void decodeSourcePanel(Core& c) {
    decodePanel(c, "SRV", 30, kSourceFields);
}
void decodeOutputPanel(Core& c) {
    decodePanel(c, "OPL", 29, kOutputFields);
}

void showVersion(Core& c) {
    c.form1("Label40").setCaption(kDataOk);
    c.form1("Label52").setCaption(c.s.Reply);
}

void showStsTime(Core& c) {
    c.form1("Label80").setCaption(std::string_view(c.s.Reply).substr(1));
}
void showStsDate(Core& c) {
    c.form1("Label81").setCaption(std::string_view(c.s.Reply).substr(1));
}

void blankSourcePanel(Core& c) {
    for (const Field& field : kSourceFields)
        c.form1(field.label).setCaption("");
}

void blankOutputPanel(Core& c) {
    for (std::size_t i = 0; i < 6; ++i)
        c.form1(kOutputFields[i].label).setCaption("");
}

}  // namespace treld
