// The parts of the windows, each built by its own file. Every widget that
// stands for a named control carries that name as its objectName, taken
// from the element constant of the subsystem that owns the control.
#pragma once

#include <QWidget>
#include <filesystem>

#include "foundation/display_model.h"

namespace treld {

struct StationConfig;
struct Trends;

// Gives a widget or action the name of its element.
template <typename T>
T* named(T* object, ElementName element) {
    object->setObjectName(QString::fromLatin1(element.name.data(), element.name.size()));
    return object;
}
template <typename T>
T* named(T* object, ElementArray array, int index) {
    object->setObjectName(QString::fromStdString(array.nameOf(index)));
    return object;
}

// Tab pages of SSTab1 in the main window.
void buildMeasuresTab(QWidget* page);
void buildOptionsTab(QWidget* page);
void buildDemoSetTab(QWidget* page);
void buildControlTab(QWidget* page);
void buildLogTab(QWidget* page);

// The station list, its "Connect" button and the send indicator.
void buildStationRow(QWidget* row);

// The secondary windows, created hidden; their objectNames are Form2 .. Form7.
QWidget* buildSettingsDialog(QWidget* mainWindow);
QWidget* buildLoginDialog(QWidget* mainWindow);
QWidget* buildAlarmsWindow();
QWidget* buildAboutWindow(QWidget* mainWindow);
// Form6, the charts of `trends`; a window of its own that goes with the main
// window. Saved pictures name the station of `config`.
QWidget* buildTrendsWindow(QWidget* mainWindow, const Trends& trends, const StationConfig& config);
// Form7, the operator's guide found in `programDir`.
QWidget* buildHelpWindow(QWidget* mainWindow, const std::filesystem::path& programDir);

// Twips (1/1440 inch) to pixels at 96 dots per inch.
constexpr int px(int twips) {
    return twips / 15;
}

}  // namespace treld
