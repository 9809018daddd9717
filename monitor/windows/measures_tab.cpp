// The "Measures" tab: the one-line diagram of the switch with the three
// measurement panels standing in its power path.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/main_window.h"
#include "link/measurements.h"
#include "status/schematic.h"
#include "status/status_controls.h"
#include "windows/artwork.h"
#include "windows/builders.h"
#include "windows/scaled_canvas.h"

namespace treld {
namespace {

constexpr int kLineWidth = 4;  // pixels at scale 1

// The drawing in twips, and how far it may shrink with the window.
constexpr int kDesignWidth = 10720;
constexpr int kDesignHeight = 6240;
constexpr double kMinimumScale = 0.7;

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(px(left), px(top), px(width), px(height));
    return label;
}

// A value field: named, framed, its text as the device sent it.
QLabel* valueField(QWidget* parent, ElementName name, int left, int top, int width) {
    QLabel* field = named(label(parent, "", left, top, width, 255), name);
    field->setFrameShape(QFrame::Panel);
    field->setFrameShadow(QFrame::Sunken);
    return field;
}

// Horizontal or vertical; the ends reach half a width further, so that
// lines meeting at a corner join.
void addLine(QWidget* page, const SchematicLine& line) {
    auto* widget = named(new QWidget(page), {Form::Form1, line.name});
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
    auto* picture = named(new QLabel(page), {Form::Form1, name});
    picture->setPixmap(switchPicture(closed));
    picture->setScaledContents(true);
    picture->setGeometry(px(sw.left), px(sw.top), px(kSwitchWidth),
                         px(closed ? kClosedSwitchHeight : kOpenSwitchHeight));
    picture->setToolTip(QString::fromLatin1(sw.tooltip.data(), sw.tooltip.size()));
}

QGroupBox* panel(QWidget* page, const SchematicBox& box) {
    auto* frame = named(new QGroupBox(page), box.element);
    frame->setGeometry(px(box.left), px(box.top), px(box.width), px(box.height));
    frame->setAutoFillBackground(true);  // hides the lines that run beneath it
    return frame;
}

// Row captions and value fields of a source panel, its fault text at the foot.
void buildSourcePanel(QGroupBox* frame, const std::array<ElementName, 4>& values,
                      ElementName faultText) {
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
    for (int row = 0; row < 3; ++row) {
        const int top = 540 + row * 360;
        label(frame, captions[row], 120, top, 600, 255);
        valueField(frame, kOutputLoads[row], 780, top, 720);
        valueField(frame, kOutputCurrents[row], 1680, top, 720);
    }
    valueField(frame, kOutputFault, 60, 1980, 2655);
}

}  // namespace

void buildMeasuresTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new ScaledCanvas(QSize(px(kDesignWidth), px(kDesignHeight)), kMinimumScale, tab);
    layout->addWidget(page);
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

    const std::span<const SchematicBox> boxes = schematicBoxes();
    const SchematicBox& loadBox = boxes[3];
    auto* load = named(new QFrame(page), loadBox.element);
    load->setFrameShape(QFrame::Box);
    load->setGeometry(px(loadBox.left), px(loadBox.top), px(loadBox.width), px(loadBox.height));
    label(page, "Load", 9660, 3360, 735, 255);
    label(page, "Source 1", 120, 2640, 735, 435);
    label(page, "Source 2", 120, 3840, 735, 435);

    buildSourcePanel(panel(page, boxes[0]), kSource1Values, kSource1Fault);
    buildSourcePanel(panel(page, boxes[1]), kSource2Values, kSource2Fault);
    buildOutputPanel(panel(page, boxes[2]));

    // Below the Output panel: temperature and SYNC angle; beside them, right
    // of the output node, the device's clock and the button that sets it from
    // the PC; across the foot the version, as long as the device makes it.
    label(page, "Temperature", 5400, 4800, 1080, 255);
    valueField(page, kTemperature, 6540, 4800, 800);
    label(page, "SYNC angle", 5400, 5070, 1080, 255);
    valueField(page, kSyncAngle, 6540, 5070, 800);
    label(page, "Version", 5400, 5880, 1080, 255);
    valueField(page, kVersion, 6540, 5880, 4060);
    label(page, "STS time", 9300, 4140, 1300, 255);
    valueField(page, kStsTime, 9300, 4410, 1300);
    label(page, "STS date", 9300, 4740, 1300, 255);
    valueField(page, kStsDate, 9300, 5010, 1300);
    auto* synchronize = named(new QPushButton(page), kSynchronize);
    synchronize->setGeometry(px(9300), px(5400), px(1300), px(360));
}

}  // namespace treld
