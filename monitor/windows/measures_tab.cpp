// The "Measures" tab: the one-line diagram of the switch with the three
// measurement panels standing in its power path.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "status/schematic.h"
#include "windows/artwork.h"
#include "windows/builders.h"

namespace treld {
namespace {

constexpr int kLineWidth = 4;  // pixels

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(px(left), px(top), px(width), px(height));
    return label;
}

// A value field: named, framed, its text as the device sent it.
QLabel* valueField(QWidget* parent, const char* name, int left, int top, int width) {
    QLabel* field = label(parent, "", left, top, width, 255);
    field->setObjectName(name);
    field->setFrameShape(QFrame::Panel);
    field->setFrameShadow(QFrame::Sunken);
    return field;
}

// Horizontal or vertical; the ends reach half a width further, so that
// lines meeting at a corner join.
void addLine(QWidget* page, const SchematicLine& line) {
    auto* widget = new QWidget(page);
    widget->setObjectName(QString::fromLatin1(line.name.data(), line.name.size()));
    const int x = px(std::min(line.x1, line.x2)) - kLineWidth / 2;
    const int y = px(std::min(line.y1, line.y2)) - kLineWidth / 2;
    const int length = px(std::abs(line.x2 - line.x1) + std::abs(line.y2 - line.y1)) + kLineWidth;
    if (line.y1 == line.y2) {
        widget->setGeometry(x, y, length, kLineWidth);
    } else {
        widget->setGeometry(x, y, kLineWidth, length);
    }
}

void addSwitchPicture(QWidget* page, std::string_view name, bool closed,
                      const SchematicSwitch& sw) {
    auto* picture = new QLabel(page);
    picture->setObjectName(QString::fromLatin1(name.data(), name.size()));
    picture->setPixmap(switchPicture(closed));
    picture->setScaledContents(true);
    picture->setGeometry(px(sw.left), px(sw.top), px(kSwitchWidth),
                         px(closed ? kClosedSwitchHeight : kOpenSwitchHeight));
    picture->setToolTip(QString::fromLatin1(sw.tooltip.data(), sw.tooltip.size()));
}

QGroupBox* panel(QWidget* page, const char* name, int left, int top, int width, int height) {
    auto* frame = new QGroupBox(page);
    frame->setObjectName(name);
    frame->setGeometry(px(left), px(top), px(width), px(height));
    frame->setAutoFillBackground(true);  // hides the lines that run beneath it
    return frame;
}

// Row captions and value fields of a source panel, its fault text at the foot.
void buildSourcePanel(QGroupBox* frame, const char* const (&values)[4], const char* faultText) {
    const char* const captions[] = {"L1:", "L2:", "L3:", "Freq:"};
    for (int row = 0; row < 4; ++row) {
        const int top = 300 + row * 300;
        label(frame, captions[row], 120, top, 600, 255);
        valueField(frame, values[row], 840, top, 720);
    }
    valueField(frame, faultText, 60, 1500, 2295);
}

void buildOutputPanel(QGroupBox* frame) {
    label(frame, "amperes", 1680, 240, 900, 255);
    const char* const captions[] = {"L1 %:", "L2 %:", "L3 %:"};
    const char* const loads[] = {"Label19", "Label21", "Label23"};
    const char* const currents[] = {"Label42", "Label43", "Label44"};
    for (int row = 0; row < 3; ++row) {
        const int top = 540 + row * 360;
        label(frame, captions[row], 120, top, 600, 255);
        valueField(frame, loads[row], 780, top, 720);
        valueField(frame, currents[row], 1680, top, 720);
    }
    valueField(frame, "Label28", 60, 1980, 2655);
}

}  // namespace

void buildMeasuresTab(QWidget* page) {
    // A small face, so that every caption fits the room the diagram leaves it.
    QFont font = page->font();
    font.setPixelSize(11);
    page->setFont(font);

    // Created first, so the pictures and panels lie above them.
    for (const SchematicLine& line : schematicLines())
        addLine(page, line);
    for (const SchematicSwitch& sw : schematicSwitches()) {
        addSwitchPicture(page, sw.closed, true, sw);
        addSwitchPicture(page, sw.open, false, sw);
    }

    auto* load = new QFrame(page);
    load->setObjectName("Shape1");
    load->setFrameShape(QFrame::Box);
    load->setGeometry(px(9540), px(3000), px(975), px(975));
    label(page, "Load", 9660, 3360, 735, 255);
    label(page, "Source 1", 120, 2640, 735, 435);
    label(page, "Source 2", 120, 3840, 735, 435);

    buildSourcePanel(panel(page, "Frame1", 1860, 1440, 2415, 1815),
                     {"Label8", "Label10", "Label12", "Label26"}, "Label2");
    buildSourcePanel(panel(page, "Frame2", 1860, 3480, 2415, 1815),
                     {"Label14", "Label16", "Label1", "Label4"}, "Label27");
    buildOutputPanel(panel(page, "Frame3", 5040, 2400, 2775, 2295));

    // Below the Output panel: temperature, SYNC angle and version; beside
    // them, right of the output node, the device's clock and the button that
    // sets it from the PC.
    label(page, "Temperature", 5400, 4800, 1080, 255);
    valueField(page, "Label47", 6540, 4800, 800);
    label(page, "SYNC angle", 5400, 5070, 1080, 255);
    valueField(page, "Label49", 6540, 5070, 800);
    label(page, "Version", 5400, 5340, 1080, 255);
    valueField(page, "Label52", 6540, 5340, 2400);
    label(page, "STS time", 9300, 4140, 1300, 255);
    valueField(page, "Label80", 9300, 4410, 1300);
    label(page, "STS date", 9300, 4740, 1300, 255);
    valueField(page, "Label81", 9300, 5010, 1300);
    auto* synchronize = new QPushButton("Synchronize", page);
    synchronize->setObjectName("Command3");
    synchronize->setGeometry(px(9300), px(5400), px(1300), px(360));
}

}  // namespace treld
