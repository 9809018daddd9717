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
#include <QTabWidget>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class Windows : public ::testing::Test {
  protected:
    void SetUp() override {
        binder.bindAll();
        rig.start();
    }
    void TearDown() override { delete windows[int(Form::Form4)]; }  // the one without an owner
    template <typename T = QWidget>
    T* in(Form form, const char* name) {
        binder.flush();
        return windows[int(form)]->findChild<T*>(name);
    }
    void trigger(const char* menu) { in<QAction>(Form::Form1, menu)->trigger(); }

    VirtualRig rig{"COMPORT:2\r\nSNAME:North\r\nTIMEOUT:500\r\n"};
    std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    std::array<QWidget*, kFormCount> windows{form1.get(), buildSettingsDialog(form1.get()),
                                             buildLoginDialog(form1.get()), buildAlarmsWindow(),
                                             buildAboutWindow(form1.get())};
    Binder binder{rig.monitor, windows};
};

TEST_F(Windows, MainWindowShowsTheDeviceMessageAndTheFaultsAndKeepsTheDemoSetTabShut) {
    trigger("mnout");
    rig.runUntil([&] { return in<QLabel>(Form::Form1, "Label25")->text() == "OK"; });  // no CR
    auto* tabs = in<QTabWidget>(Form::Form1, "SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->currentIndex(), 0);

    QWidget* form4 = windows[int(Form::Form4)];
    trigger("mnalarm");
    rig.showStatus(statusRecord({{36, '1'}, {38, '1'}}));
    EXPECT_EQ(form4->parentWidget(), nullptr);
    EXPECT_TRUE(in(Form::Form4, "Image2_31")->isHidden());
    auto* dead = in(Form::Form1, "Line23");
    EXPECT_FALSE(dead->isHidden());
    EXPECT_EQ(dead->palette().color(QPalette::Window), QColor(255, 0, 0));
    form4->close();
    EXPECT_FALSE(in(Form::Form4, "Image2_31")->isHidden()) << "green again after closing";
}

TEST_F(Windows, DialogsOpenFromTheirMenusAndCloseByEscapeCancelOrSave) {
    QWidget* login = windows[int(Form::Form3)];
    trigger("mnlogon");
    in<QLineEdit>(Form::Form3, "Text1")->setText("1234");
    emit in<QLineEdit>(Form::Form3, "Text1")->textEdited("1234");
    in<QPushButton>(Form::Form3, "Command1")->click();
    rig.advance(1'500);  // the login pauses polling
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(login, &escape);
    EXPECT_FALSE(rig.element("Form3", Form::Form3).visible());
    const std::size_t paused = rig.platform.serialWrites.size();
    rig.advance(100);
    EXPECT_GT(rig.platform.serialWrites.size(), paused) << "closing ends the pause";
    trigger("mnabo");
    EXPECT_EQ(in<QLabel>(Form::Form5, "Label1")->text(), "ZID evevori 1.1");
    in<QPushButton>(Form::Form5, "Command1")->click();
    EXPECT_FALSE(windows[int(Form::Form5)]->isVisible());

    QWidget* form2 = windows[int(Form::Form2)];
    auto* ports = in<QComboBox>(Form::Form2, "Combo1");
    trigger("mnset");
    ASSERT_TRUE(form2->isVisible());
    EXPECT_EQ(ports->currentText(), "COM2");
    EXPECT_EQ(in<QLineEdit>(Form::Form2, "Text14")->text(), "North");
    auto* cancel = in<QPushButton>(Form::Form2, "Command3");
    EXPECT_EQ(form2->focusWidget(), cancel);
    EXPECT_EQ(cancel->nextInFocusChain(), in<QPushButton>(Form::Form2, "Command1"));
    for (auto [name, typed] : {std::pair{"Text14", "South"}, {"Text18", "2200"}}) {
        auto* edit = in<QLineEdit>(Form::Form2, name);
        edit->setText(typed);
        emit edit->textEdited(typed);
    }
    in<QCheckBox>(Form::Form2, "Check1")->click();
    emit ports->activated(7);
    in<QPushButton>(Form::Form2, "Command1")->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(in<QLabel>(Form::Form1, "Label24")->text(), "com7");
    const std::string file = rig.readFile("sts.cfg");
    for (const char* line :
         {"COMPORT:7\r", "\nSNAME:South\r", "\nREMOTEPORT:2200\r", "\nEMAILENABLE:1\r"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    trigger("mnset");
    EXPECT_EQ(ports->currentText(), "COM7");
    EXPECT_TRUE(in<QCheckBox>(Form::Form2, "Check1")->isChecked());
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
