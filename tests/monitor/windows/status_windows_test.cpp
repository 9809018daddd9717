// The Measures tab and the Alarms window: a widget for every element of the
// status decoding and the measurement panels, drawn from the model.
#include <gtest/gtest.h>

#include <QMainWindow>

#include "link/measurements.h"
#include "status/sas_decoder.h"
#include "status/status_controls.h"
#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

TEST(StatusWindows, EveryElementHasItsWidgetAndAFaultReachesTheDiagramAndTheLamps) {
    VirtualRig rig;
    QMainWindow* form1 = buildMainWindow();
    QWidget* form4 = buildAlarmsWindow();
    Binder binder(rig.monitor, {form1, nullptr, nullptr, form4, nullptr});
    binder.bindAll();
    rig.start();

    DisplayModel declared;
    declareStatusElements(declared);
    declareMeasurementElements(declared);
    auto* measures = form1->findChild<QWidget*>("SSTab1_0");
    for (const auto& [name, element] : declared.elements(Form::Form1)) {
        if (name == "Label36")
            continue;  // on the Control tab
        EXPECT_NE(measures->findChild<QWidget*>(QString::fromStdString(name)), nullptr) << name;
    }
    for (const auto& [name, element] : declared.elements(Form::Form4))
        EXPECT_NE(binder.find(Form::Form4, QString::fromStdString(name)), nullptr) << name;
    EXPECT_EQ(form4->parentWidget(), nullptr);

    rig.monitor.click(Form::Form1, "mnalarm");
    rig.monitor.core().s.Reply = "#00000000 00000000 00000000 00000001 10000\r";
    SASAYIKLA(rig.monitor.core());
    binder.flush();
    EXPECT_FALSE(form4->isHidden());
    EXPECT_EQ(form4->windowTitle(), "STS Alarms");
    EXPECT_TRUE(form4->findChild<QWidget*>("Image2_31")->isHidden());
    auto* dead = measures->findChild<QWidget*>("Line23");
    EXPECT_FALSE(dead->isHidden());
    EXPECT_EQ(dead->palette().color(QPalette::Window), QColor(255, 0, 0));

    form4->close();
    binder.flush();
    EXPECT_TRUE(form4->isHidden());
    EXPECT_FALSE(form4->findChild<QWidget*>("Image2_31")->isHidden());
    delete form4;
    delete form1;
}

}  // namespace
}  // namespace treld::testing
