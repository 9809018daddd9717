// The real main window drawn from the display model, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        form1 = buildMainWindow();
        windows = {form1, buildSettingsDialog(form1), buildLoginDialog(form1), buildAlarmsWindow(),
                   buildAboutWindow(form1)};
        binder = std::make_unique<Binder>(rig.monitor, windows);
        binder->bindAll();
        rig.start();
        binder->flush();
    }
    void TearDown() override {
        binder.reset();
        delete windows[static_cast<int>(Form::Form4)];  // the one window without an owner
        delete form1;
    }
    template <typename T>
    T* widget(const char* name) {
        return form1->findChild<T*>(name);
    }

    VirtualRig rig;
    QMainWindow* form1 = nullptr;
    std::array<QWidget*, kFormCount> windows{};
    std::unique_ptr<Binder> binder;
};

TEST_F(MainWindow, EveryFrameElementHasItsNamedWidget) {
    for (const char* name : {"Form1", "SSTab1", "SSTab1_0", "SSTab1_4", "Label24", "Label40",
                             "Label50", "Label25", "mnexit", "mnout", "phelp"}) {
        EXPECT_NE(binder->find(Form::Form1, name), nullptr) << name;
    }
    EXPECT_EQ(form1->windowTitle(), "ZID evevori (Local)");
    EXPECT_FALSE(widget<QTabWidget>("SSTab1")->isTabEnabled(2)) << "Demo set is unavailable";
}

TEST_F(MainWindow, ModelChangesReachTheWidgetsWithControlCharactersLeftOut) {
    rig.advance(50 + 1000);  // a silent device: the time-out text
    binder->flush();
    EXPECT_EQ(widget<QLabel>("Label40")->text(), "Time out on com1");

    rig.monitor.onSerialData("OK\r");
    binder->flush();
    EXPECT_EQ(widget<QLabel>("Label25")->text(), "OK");
    rig.advance(10'000);
    binder->flush();
    EXPECT_EQ(widget<QLabel>("Label25")->text(), "") << "the device message clears after 10 s";
}

TEST_F(MainWindow, ChoosingTheUnavailableTabKeepsTheCurrentOne) {
    auto* tabs = widget<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(3);
    EXPECT_EQ(rig.monitor.core().selectedTab(), 3);
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
