#include "windows/main_window.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/main_window.h"
#include "trends/trends.h"
#include "windows/activity_indicator.h"
#include "windows/builders.h"

namespace treld {
namespace {

// The captions of the menu items and tabs come from the display model.
QMenu* addMenu(QMainWindow* window, const QString& title,
               std::initializer_list<ElementName> items) {
    QMenu* menu = window->menuBar()->addMenu(title);
    for (ElementName item : items)
        named(menu->addAction(QString()), item);
    return menu;
}

// A sunken panel of the status row: a label, or the receive indicator.
template <typename Panel = QLabel>
Panel* statusPanel(ElementName name, QWidget* parent) {
    auto* panel = named(new Panel(parent), name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}

}  // namespace

QMainWindow* buildMainWindow() {
    auto* window = named(new QMainWindow, kMainWindow);
    addMenu(window, "&File",
            {kAlarmsMenu, kTrendsMenu, kSettingsMenu, kCalendarMenu, kAboutMenu, kExitMenu});
    addMenu(window, "&Login", {kServiceLoginMenu, kUserLoginMenu, kLogoutMenu});
    QMenu* help = addMenu(window, "&Help", {kHelpMenu, kHelpAboutMenu});
    help->actions().front()->setShortcut(QKeySequence(Qt::Key_F1));  // "Program help"

    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);

    auto* tabs = named(new QTabWidget(central), kTabs);
    void (*const builders[kTabCount])(QWidget*) = {buildMeasuresTab, buildOptionsTab,
                                                   buildDemoSetTab, buildControlTab, buildLogTab};
    for (int i = 0; i < kTabCount; ++i) {
        auto* page = named(new QWidget, kTabPages, i);
        builders[i](page);
        tabs->addTab(page, QString());
    }
    layout->addWidget(tabs, 1);

    auto* stationRow = new QWidget(central);
    buildStationRow(stationRow);
    layout->addWidget(stationRow);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(statusPanel(kLinkKind, central));
    statusRow->addWidget(statusPanel(kStatusLine, central), 1);
    statusRow->addWidget(statusPanel<ActivityIndicator>(kReceiveIndicator, central));
    layout->addLayout(statusRow);
    layout->addWidget(statusPanel(kDeviceMessage, central));

    window->setCentralWidget(central);
    // As drawn, unless the screen is smaller; the Measures tab scales with it.
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    window->resize(QSize(px(11000), px(9000)).boundedTo(screen * 0.95));
    return window;
}

}  // namespace treld
