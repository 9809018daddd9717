// The login dialog and the About window drawn from the core's model, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class DeviceWindows : public ::testing::Test {
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
        delete windows[static_cast<int>(Form::Form4)];
        delete form1;
    }
    template <typename T>
    T* in(Form form, const char* name) {
        return windows[static_cast<int>(form)]->findChild<T*>(name);
    }
    void trigger(const char* menu) { form1->findChild<QAction*>(menu)->trigger(); }

    VirtualRig rig;
    QMainWindow* form1 = nullptr;
    std::array<QWidget*, kFormCount> windows{};
    std::unique_ptr<Binder> binder;
};

TEST_F(DeviceWindows, LoginDialogOpensFromTheMenuAndEveryWayOfClosingEndsThePause) {
    auto* dialog = windows[static_cast<int>(Form::Form3)];
    trigger("mnlogon");
    trigger("mnuselogon");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "STS service logon") << "an open dialog keeps its caption";
    EXPECT_EQ(in<QLabel>(Form::Form3, "Label1")->text(), "Password");

    in<QPushButton>(Form::Form3, "Command1")->click();  // empty password
    const auto boxes = dialog->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->windowTitle(), "ZID evevori");
    EXPECT_EQ(boxes[0]->text(), "Invalid password");

    auto& pollState = rig.monitor.core().s.PollState;
    pollState = "PAUSE";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &escape);
    EXPECT_FALSE(rig.monitor.ui()(Form::Form3, "Form3").visible()) << "Escape";
    EXPECT_EQ(pollState, "");

    trigger("mnuselogon");
    EXPECT_EQ(dialog->windowTitle(), "STS user logon") << "a closed dialog opens afresh";
    pollState = "PAUSE";
    in<QPushButton>(Form::Form3, "Command2")->click();
    EXPECT_FALSE(dialog->isVisible()) << "Cancel";
    EXPECT_EQ(pollState, "");
}

TEST_F(DeviceWindows, AboutWindowShowsTheVersionFromEitherMenuAndOkClosesIt) {
    auto* about = windows[static_cast<int>(Form::Form5)];
    for (const char* menu : {"mnab", "mnabo"}) {
        trigger(menu);
        EXPECT_TRUE(about->isVisible());
        EXPECT_EQ(about->windowTitle(), "About program");
        EXPECT_EQ(in<QLabel>(Form::Form5, "Label1")->text(), "ZID evevori 1.1");
        in<QPushButton>(Form::Form5, "Command1")->click();
        EXPECT_FALSE(about->isVisible());
    }
}

}  // namespace
}  // namespace treld::testing
