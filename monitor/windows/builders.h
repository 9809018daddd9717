// The parts of the windows, each built by its own file. Every widget that
// stands for a named control carries that name as its objectName.
#pragma once

#include <QWidget>

namespace treld {

struct Trends;

// Tab pages of SSTab1 in the main window.
void buildMeasuresTab(QWidget* page);
void buildOptionsTab(QWidget* page);
void buildDemoSetTab(QWidget* page);
void buildControlTab(QWidget* page);
void buildLogTab(QWidget* page);

// The station list, its "Connect" button and the send indicator.
void buildStationRow(QWidget* row);

// The secondary windows, created hidden; their objectNames are Form2 .. Form5.
QWidget* buildSettingsDialog(QWidget* mainWindow);
QWidget* buildLoginDialog(QWidget* mainWindow);
QWidget* buildAlarmsWindow();
QWidget* buildAboutWindow(QWidget* mainWindow);
// Form6, the charts of `trends`; a window of its own that goes with the main window.
QWidget* buildTrendsWindow(QWidget* mainWindow, const Trends& trends);

// Twips (1/1440 inch) to pixels at 96 dots per inch.
constexpr int px(int twips) {
    return twips / 15;
}

}  // namespace treld
