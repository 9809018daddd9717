// The station list, "Connect", the send indicator and the "Demo set" list
// as real widgets, offscreen.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

TEST(StationRow, ChoosingARemoteStationThroughTheWidgets) {
    VirtualRig rig;
    rig.writeConfig("COMPORT:1\r\nREMOTEIP2:10.0.0.7\r\n");
    rig.writeProgramFile("DEMOSET.CFG", "SRV:#1\r\nXF1:OK\r\n");
    std::unique_ptr<QMainWindow> form1(buildMainWindow());
    Binder binder(rig.monitor, {form1.get(), nullptr, nullptr, nullptr, nullptr});
    binder.bindAll();
    rig.start();
    binder.flush();

    auto* demoSet = form1->findChild<QListWidget*>("List2");
    ASSERT_NE(demoSet, nullptr);
    EXPECT_EQ(demoSet->count(), 2);
    EXPECT_EQ(demoSet->item(1)->text(), "2-XF1OK");

    auto* stations = form1->findChild<QListWidget*>("List3");
    ASSERT_NE(stations, nullptr);
    ASSERT_EQ(stations->count(), 2);
    EXPECT_EQ(stations->currentRow(), 0);
    stations->setCurrentRow(1);
    form1->findChild<QPushButton*>("Command5")->click();
    EXPECT_EQ(rig.monitor.core().s.RemoteMode, 2);

    rig.advance(50);
    binder.flush();
    EXPECT_EQ(form1->findChild<QLabel*>("Label56")->text(), "/10.0.0.7/1118");

    stations->setCurrentRow(0);
    form1->findChild<QPushButton*>("Command5")->click();
    EXPECT_EQ(rig.monitor.core().s.RemoteMode, 0);
}

}  // namespace
}  // namespace treld::testing
