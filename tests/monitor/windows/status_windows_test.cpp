// The Measures tab and the Alarms window: a widget for every element of the
// status decoding, drawn from the model.
#include <gtest/gtest.h>

#include <QLabel>
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

class StatusWindows : public ::testing::Test {
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
    QWidget* form4() { return windows[static_cast<int>(Form::Form4)]; }

    VirtualRig rig;
    QMainWindow* form1 = nullptr;
    std::array<QWidget*, kFormCount> windows{};
    std::unique_ptr<Binder> binder;
};

TEST_F(StatusWindows, EveryStatusAndMeasurementElementHasItsWidget) {
    DisplayModel declared;
    declareStatusElements(declared);
    declareMeasurementElements(declared);
    auto* measures = form1->findChild<QWidget*>("SSTab1_0");
    ASSERT_NE(measures, nullptr);
    for (const auto& [name, element] : declared.elements(Form::Form1)) {
        if (name == "Label36")
            continue;  // stands on the Control tab
        EXPECT_NE(measures->findChild<QWidget*>(QString::fromStdString(name)), nullptr) << name;
    }
    for (const auto& [name, element] : declared.elements(Form::Form4)) {
        EXPECT_NE(binder->find(Form::Form4, QString::fromStdString(name)), nullptr) << name;
    }
    EXPECT_EQ(form4()->parentWidget(), nullptr);
}

TEST_F(StatusWindows, FaultStatusReachesTheDiagramAndTheOpenAlarmsWindow) {
    rig.monitor.click(Form::Form1, "mnalarm");
    Core& c = rig.monitor.core();
    c.s.Reply = "#00000000 00000000 00000000 00000001 10000\r";
    SASAYIKLA(c);
    binder->flush();

    EXPECT_FALSE(form4()->isHidden());
    EXPECT_EQ(form4()->windowTitle(), "STS Alarms");
    EXPECT_TRUE(form4()->findChild<QWidget*>("Image2_31")->isHidden());
    EXPECT_FALSE(form1->findChild<QWidget*>("Line23")->isHidden());
    EXPECT_TRUE(form1->findChild<QWidget*>("Line15")->isHidden());
    EXPECT_EQ(form1->findChild<QWidget*>("Line23")->palette().color(QPalette::Window),
              QColor(255, 0, 0));
    EXPECT_EQ(form1->findChild<QLabel*>("Label28")->text(), "Output switch off");

    form4()->close();
    binder->flush();
    EXPECT_TRUE(form4()->isHidden());
    EXPECT_FALSE(form4()->findChild<QWidget*>("Image2_31")->isHidden());
}

}  // namespace
}  // namespace treld::testing
