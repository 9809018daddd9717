// "STS Alarms": one lamp and caption per status flag, 33 rows of 240 twips
// with a gap row after each group; on a screen too short for them, the last
// two groups stand in a second column beside the first two.
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "status/alarm_lamps.h"
#include "status/status_record.h"
#include "windows/artwork.h"
#include "windows/builders.h"

namespace treld {
namespace {

constexpr int kRowHeight = 240;
constexpr int kColumnWidth = 2640;
constexpr int kRows = 36;
// Row 16, the gap after the second group: where a second column starts.
constexpr int kColumnBreak = 16;

// Rows 8, 16 and 25 stay empty between the groups of lamps.
int rowOfLamp(int lamp) {
    return lamp + 1 + (lamp >= 24 ? 1 : 0);
}

void addLampPicture(QWidget* window, ElementArray lamps, int lampNumber, bool red, QPoint at) {
    auto* lamp = named(new QLabel(window), lamps, lampNumber);
    lamp->setPixmap(lampPicture(red));
    lamp->setGeometry(px(at.x() + 240), px(at.y()), px(450), px(kRowHeight));
}

// Whether the window in one column, with room for a title bar, is taller
// than the screen it opens on.
bool tooTallForScreen() {
    return px(kRows * kRowHeight) >
           QGuiApplication::primaryScreen()->availableSize().height() * 0.9;
}

}  // namespace

QWidget* buildAlarmsWindow() {
    // Modeless and without an owner: it stays open beside the main window.
    auto* window = named(new QDialog, kAlarmsWindow);
    window->setModal(false);
    const bool twoColumns = tooTallForScreen();
    window->setFixedSize(px(kColumnWidth * (twoColumns ? 2 : 1)),
                         px(kRowHeight * (twoColumns ? kRows - kColumnBreak : kRows)));
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
        int row = rowOfLamp(lamp);
        int left = 0;
        if (twoColumns && row > kColumnBreak) {
            row -= kColumnBreak;
            left = kColumnWidth;
        }
        const QPoint at(left, kRowHeight * row);
        // The green picture lies over the red one; hiding it lights the lamp red.
        addLampPicture(window, kRedLamps, lamp, true, at);
        addLampPicture(window, kGreenLamps, lamp, false, at);
        auto* caption = named(new QLabel(window), kLampCaptions, static_cast<int>(k));
        caption->setGeometry(px(left + 780), px(at.y()), px(1695), px(255));
    }
    return window;
}

}  // namespace treld
