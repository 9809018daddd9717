// "STS Alarms": one lamp and caption per status flag, 33 rows of 240 twips
// with a gap row after each group.
#include <QDialog>
#include <QLabel>

#include "status/alarm_lamps.h"
#include "status/status_record.h"
#include "windows/artwork.h"
#include "windows/builders.h"

namespace treld {
namespace {

constexpr int kRowHeight = 240;

// Rows 8, 16 and 25 stay empty between the groups of lamps.
int rowOfLamp(int lamp) {
    return lamp + 1 + (lamp >= 24 ? 1 : 0);
}

void addLampPicture(QWidget* window, ElementArray lamps, int lampNumber, bool red, int top) {
    auto* lamp = named(new QLabel(window), lamps, lampNumber);
    lamp->setPixmap(lampPicture(red));
    lamp->setGeometry(px(240), px(top), px(450), px(kRowHeight));
}

}  // namespace

QWidget* buildAlarmsWindow() {
    // Modeless and without an owner: it stays open beside the main window.
    auto* window = named(new QDialog, kAlarmsWindow);
    window->setModal(false);
    window->setFixedSize(px(2640), px(8640));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    QFont font = window->font();
    font.setPixelSize(11);  // the longest caption fits its 1695 twips
    window->setFont(font);

    const auto& lamps = lampsInOrder();
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        const int lamp = lamps[k]->lamp;
        const int top = kRowHeight * rowOfLamp(lamp);
        // The green picture lies over the red one; hiding it lights the lamp red.
        addLampPicture(window, kRedLamps, lamp, true, top);
        addLampPicture(window, kGreenLamps, lamp, false, top);
        auto* caption = named(new QLabel(window), kLampCaptions, static_cast<int>(k));
        caption->setGeometry(px(780), px(top), px(1695), px(255));
    }
    return window;
}

}  // namespace treld
