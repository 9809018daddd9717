// The real main window drawn from the display model, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        binder.bindAll();
        rig.start();
        binder.flush();
    }
    QString shown(const char* label) {
        binder.flush();
        return form1->findChild<QLabel*>(label)->text();
    }
    VirtualRig rig;
    std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    Binder binder{rig.monitor, {form1.get(), nullptr, nullptr, nullptr, nullptr}};
};

TEST_F(MainWindow, TheWindowStartsAsLocal) {
    EXPECT_EQ(form1->windowTitle(), "ZID evevori (Local)");
}

TEST_F(MainWindow, DeviceMessageIsShownWithoutControlCharactersAndClearsAfterTenSeconds) {
    rig.monitor.onSerialData("OK\r");
    EXPECT_EQ(shown("Label25"), "OK");
    rig.advance(10'000);
    EXPECT_EQ(shown("Label25"), "");
}

TEST_F(MainWindow, TheDemoSetTabCannotBeChosen) {
    auto* tabs = form1->findChild<QTabWidget*>("SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(3);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(rig.monitor.core().selectedTab(), 3);
    EXPECT_EQ(tabs->currentIndex(), 3);
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
