// The Measures tab and the Alarms window: a widget for every element of the
// status decoding and the measurement panels, drawn from the model.
#include <gtest/gtest.h>

#include "link/measurements.h"
#include "status/sas_decoder.h"
#include "status/status_controls.h"
#include "windows_rig.h"

namespace treld::testing {
namespace {

TEST(StatusWindows, EveryElementHasItsWidgetAndAFaultReachesTheDiagramAndTheLamps) {
    WindowsRig rig;
    DisplayModel declared;
    declareStatusElements(declared);
    declareMeasurementElements(declared);
    auto* measures = rig.in(Form::Form1, "SSTab1_0");
    for (const auto& [name, element] : declared.elements(Form::Form1)) {
        const bool onControlTab = name == "Label36";
        EXPECT_TRUE(onControlTab || measures->findChild<QWidget*>(QString::fromStdString(name)))
            << name;
    }
    for (const auto& [name, element] : declared.elements(Form::Form4))
        EXPECT_NE(rig.binder->find(Form::Form4, QString::fromStdString(name)), nullptr) << name;
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
