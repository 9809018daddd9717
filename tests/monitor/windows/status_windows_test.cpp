// The Measures tab and the Alarms window drawn from the model.
#include <gtest/gtest.h>

#include "status/sas_decoder.h"
#include "windows_rig.h"

namespace treld::testing {
namespace {

TEST(StatusWindows, AFaultReachesTheDiagramAndTheLamps) {
    WindowsRig rig;
    auto* measures = rig.in(Form::Form1, "SSTab1_0");
    QWidget* form4 = rig.window(Form::Form4);
    EXPECT_EQ(form4->parentWidget(), nullptr);

    rig.monitor.click(Form::Form1, "mnalarm");
    rig.monitor.core().s.Reply = "#00000000 00000000 00000000 00000001 10000\r";
    SASAYIKLA(rig.monitor.core());
    rig.binder->flush();
    EXPECT_EQ(form4->windowTitle(), "STS Alarms");
    EXPECT_TRUE(rig.in(Form::Form4, "Image2_31")->isHidden());
    auto* dead = measures->findChild<QWidget*>("Line23");
    EXPECT_FALSE(dead->isHidden());
    EXPECT_EQ(dead->palette().color(QPalette::Window), QColor(255, 0, 0));

    form4->close();
    rig.binder->flush();
    EXPECT_FALSE(rig.in(Form::Form4, "Image2_31")->isHidden()) << "green again after closing";
}

}  // namespace
}  // namespace treld::testing
