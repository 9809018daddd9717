#include "windows/main_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "windows/builders.h"

namespace treld {
namespace {

void addMenu(QMainWindow* window, const QString& title,
             std::initializer_list<std::pair<const char*, const char*>> items) {
    QMenu* menu = window->menuBar()->addMenu(title);
    for (auto [name, caption] : items) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
    }
}

QLabel* statusLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

}  // namespace

QMainWindow* buildMainWindow() {
    auto* window = new QMainWindow;
    window->setObjectName("Form1");
    addMenu(window, "File",
            {{"mnalarm", "Alarms"},
             {"mntrends", "Trends"},
             {"mnset", "Settings"},
             {"mncal", "Event calender"},
             {"mnabo", "About program"},
             {"mnexit", "exit"}});
    addMenu(window, "Login",
            {{"mnlogon", "Service Login"}, {"mnuselogon", "User Login"}, {"mnout", "&Logout"}});
    addMenu(window, "Help", {{"phelp", "Program help"}, {"mnab", "About program"}});

    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);

    auto* tabs = new QTabWidget(central);
    tabs->setObjectName("SSTab1");
    void (*const builders[])(QWidget*) = {buildMeasuresTab, buildOptionsTab, buildDemoSetTab,
                                          buildControlTab, buildLogTab};
    const char* const captions[] = {"Measures", "User options", "Demo set", "Control", "Log event"};
    for (int i = 0; i < 5; ++i) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("SSTab1_%1").arg(i));
        builders[i](page);
        tabs->addTab(page, captions[i]);
    }
    layout->addWidget(tabs, 1);

    auto* stationRow = new QWidget(central);
    buildStationRow(stationRow);
    layout->addWidget(stationRow);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(statusLabel("Label24", central));
    statusRow->addWidget(statusLabel("Label40", central), 1);
    statusRow->addWidget(statusLabel("Label50", central));
    layout->addLayout(statusRow);
    layout->addWidget(statusLabel("Label25", central));

    window->setCentralWidget(central);
    window->resize(px(11000), px(9000));
    return window;
}

}  // namespace treld
