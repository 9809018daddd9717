// The real windows drawn from the core's display model, offscreen, and the
// operator's actions on their widgets reaching the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

TEST(Windows, EscapeEndsTheLoginPauseColoursAreBlueGreenRedAndSettingsRoundTrip) {
    VirtualRig rig("COMPORT:2\r\nSNAME:North\r\nTIMEOUT:500\r\n");
    std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    std::unique_ptr<QWidget> form4{buildAlarmsWindow()};  // the one window without an owner
    const std::array<QWidget*, kFormCount> windows{form1.get(), buildSettingsDialog(form1.get()),
                                                   buildLoginDialog(form1.get()), form4.get(),
                                                   buildAboutWindow(form1.get())};
    Binder binder{rig.monitor, windows};
    binder.bindAll();
    rig.start();
    auto in = [&]<typename T = QWidget>(Form form, const char* name, T* = nullptr) {
        binder.flush();
        return windows[int(form)]->findChild<T*>(name);
    };
    auto type = [&](Form form, const char* name, const QString& text) {
        auto* edit = in(form, name, static_cast<QLineEdit*>(nullptr));
        edit->setText(text);
        emit edit->textEdited(text);
    };
    auto trigger = [&](const char* menu) { form1->findChild<QAction*>(menu)->trigger(); };

    trigger("mnlogon");
    type(Form::Form3, "Text1", "1234");
    in(Form::Form3, "Command1", static_cast<QPushButton*>(nullptr))->click();
    rig.advance(1'500);  // the login pauses polling
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(windows[int(Form::Form3)], &escape);
    EXPECT_FALSE(rig.element("Form3", Form::Form3).visible());
    const std::size_t paused = rig.platform.serialWrites.size();
    rig.advance(100);
    EXPECT_GT(rig.platform.serialWrites.size(), paused) << "closing ends the pause";

    rig.showStatus(statusRecord({{36, '1'}}));  // output switch open: a red segment
    EXPECT_EQ(in(Form::Form1, "Line23")->palette().color(QPalette::Window), QColor(255, 0, 0));

    QWidget* form2 = windows[int(Form::Form2)];
    auto* ports = in(Form::Form2, "Combo1", static_cast<QComboBox*>(nullptr));
    auto* check = in(Form::Form2, "Check1", static_cast<QCheckBox*>(nullptr));
    trigger("mnset");
    ASSERT_TRUE(form2->isVisible());
    EXPECT_EQ(
        ports->currentText() + in(Form::Form2, "Text14", static_cast<QLineEdit*>(nullptr))->text(),
        "COM2North");
    auto* cancel = in(Form::Form2, "Command3");
    EXPECT_TRUE(form2->focusWidget() == cancel &&
                cancel->nextInFocusChain() == in(Form::Form2, "Command1"));
    type(Form::Form2, "Text14", "South");
    type(Form::Form2, "Text18", "2200");
    check->click();
    emit ports->activated(7);
    in(Form::Form2, "Command1", static_cast<QPushButton*>(nullptr))->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(in(Form::Form1, "Label24", static_cast<QLabel*>(nullptr))->text(), "com7");
    const std::string file = rig.readFile("sts.cfg");
    for (const char* line :
         {"COMPORT:7\r", "\nSNAME:South\r", "\nREMOTEPORT:2200\r", "\nEMAILENABLE:1\r"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    trigger("mnset");
    EXPECT_TRUE(ports->currentText() == "COM7" && check->isChecked());
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
