// The station list, "Connect" and the send indicator as real widgets, offscreen.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>

#include "support/virtual_rig.h"
#include "windows/activity_indicator.h"
#include "windows/binder.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

TEST(StationRow, ChoosingARemoteStationThroughTheWidgets) {
    VirtualRig rig;
    rig.writeConfig("REMOTEIP2:10.0.0.7\r\n");
    std::unique_ptr<QMainWindow> form1(buildMainWindow());
    Binder binder(rig.monitor, {form1.get(), nullptr, nullptr, nullptr, nullptr});
    binder.bindAll();
    rig.start();
    binder.flush();
    auto* stations = form1->findChild<QListWidget*>("List3");
    EXPECT_EQ(stations->currentRow(), 0);
    auto* connect = form1->findChild<QPushButton*>("Command5");
    stations->setCurrentRow(1);
    connect->click();
    EXPECT_EQ(rig.monitor.core().s.RemoteMode, 2);
    rig.advance(50);
    binder.flush();
    EXPECT_EQ(form1->findChild<ActivityIndicator*>("Label56")->text(), "/10.0.0.7/1118");
    stations->setCurrentRow(0);
    connect->click();
    EXPECT_EQ(rig.monitor.core().s.RemoteMode, 0);
}

}  // namespace
}  // namespace treld::testing
