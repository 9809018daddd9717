// The login dialog and the About window drawn from the core's model, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "windows_rig.h"

namespace treld::testing {
namespace {

TEST(DeviceWindows, LoginDialogOpensFromTheMenuAndEveryWayOfClosingEndsThePause) {
    WindowsRig rig;
    QWidget* dialog = rig.window(Form::Form3);
    rig.trigger("mnlogon");
    rig.trigger("mnuselogon");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "STS service logon") << "an open dialog keeps its caption";

    rig.in<QPushButton>(Form::Form3, "Command1")->click();  // empty password
    const auto boxes = dialog->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->windowTitle() + ": " + boxes[0]->text(), "ZID evevori: Invalid password");

    auto& pollState = rig.monitor.core().s.PollState;
    pollState = "PAUSE";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &escape);
    EXPECT_FALSE(rig.monitor.ui()(Form::Form3, "Form3").visible()) << "Escape";
    EXPECT_EQ(pollState, "");

    rig.trigger("mnuselogon");
    EXPECT_EQ(dialog->windowTitle(), "STS user logon") << "a closed dialog opens afresh";
    pollState = "PAUSE";
    rig.in<QPushButton>(Form::Form3, "Command2")->click();
    EXPECT_FALSE(dialog->isVisible()) << "Cancel";
    EXPECT_EQ(pollState, "");
}

TEST(DeviceWindows, AboutWindowShowsTheVersionFromEitherMenuAndOkClosesIt) {
    WindowsRig rig;
    for (const char* menu : {"mnab", "mnabo"}) {
        rig.trigger(menu);
        EXPECT_TRUE(rig.window(Form::Form5)->isVisible());
        EXPECT_EQ(rig.window(Form::Form5)->windowTitle(), "About program");
        EXPECT_EQ(rig.in<QLabel>(Form::Form5, "Label1")->text(), "ZID evevori 1.1");
        rig.in<QPushButton>(Form::Form5, "Command1")->click();
        EXPECT_FALSE(rig.window(Form::Form5)->isVisible());
    }
}

}  // namespace
}  // namespace treld::testing
