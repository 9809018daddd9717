// The Settings dialog as real widgets, offscreen. (The "Log event" list in real
// widgets is proven against the simulator in tests/e2e/operator_test.cpp.)
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows_rig.h"

namespace treld::testing {
namespace {

TEST(RecordsWindows, SettingsRoundTripThroughTheDialog) {
    WindowsRig rig("COMPORT:2\r\nSNAME:North\r\nREMOTEPORT:1118\r\nTIMEOUT:500\r\n");
    QWidget* form2 = rig.window(Form::Form2);
    auto* ports = rig.in<QComboBox>(Form::Form2, "Combo1");
    rig.trigger("mnset");
    ASSERT_TRUE(form2->isVisible());
    EXPECT_EQ(ports->currentText(), "COM2");
    EXPECT_EQ(rig.in<QLineEdit>(Form::Form2, "Text14")->text(), "North");
    auto* cancel = rig.in<QPushButton>(Form::Form2, "Command3");
    EXPECT_EQ(form2->focusWidget(), cancel);
    EXPECT_EQ(cancel->nextInFocusChain(), rig.in<QPushButton>(Form::Form2, "Command1"));

    for (auto [name, text] : {std::pair{"Text14", "South"}, {"Text18", "2200"}}) {
        auto* edit = rig.in<QLineEdit>(Form::Form2, name);
        edit->setText(text);
        emit edit->textEdited(text);
    }
    rig.in<QCheckBox>(Form::Form2, "Check1")->click();
    emit ports->activated(7);
    rig.in<QPushButton>(Form::Form2, "Command1")->click();

    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(rig.in<QLabel>(Form::Form1, "Label24")->text(), "com7");
    StationConfig saved;
    ReadConfig(rig.programDir.path() / "sts.cfg", saved);
    EXPECT_EQ(writeConfigText(saved, 7), writeConfigText(rig.monitor.core().config, 7));
    EXPECT_EQ(saved.StationName, "South");
    EXPECT_EQ(saved.RemotePort, 2200);
    EXPECT_EQ(saved.EmailEnable, 1);

    rig.trigger("mnset");
    EXPECT_EQ(ports->currentText(), "COM7");
    EXPECT_TRUE(rig.in<QCheckBox>(Form::Form2, "Check1")->isChecked());
}

}  // namespace
}  // namespace treld::testing
