// The Settings dialog and the "Log event" tab as real widgets, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>

#include "support/virtual_rig.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class RecordsWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.writeConfig("COMPORT:2\r\nSNAME:North\r\nREMOTEPORT:1118\r\nTIMEOUT:500\r\n");
        form1 = buildMainWindow();
        form2 = buildSettingsDialog(form1);
        binder = std::make_unique<Binder>(
            rig.monitor, std::array<QWidget*, kFormCount>{form1, form2, nullptr, nullptr, nullptr});
        binder->bindAll();
        rig.start();
        binder->flush();
    }
    void TearDown() override {
        binder.reset();
        delete form1;
    }
    template <typename T>
    T* widget(const char* name) {
        return form1->findChild<T*>(name);
    }
    void type(const char* name, const QString& text) {
        auto* edit = form2->findChild<QLineEdit*>(name);
        edit->setText(text);
        emit edit->textEdited(text);
    }

    VirtualRig rig;
    QMainWindow* form1 = nullptr;
    QWidget* form2 = nullptr;
    std::unique_ptr<Binder> binder;
};

TEST_F(RecordsWindows, SettingsRoundTripThroughTheDialog) {
    widget<QAction>("mnset")->trigger();
    ASSERT_TRUE(form2->isVisible());
    auto* ports = form2->findChild<QComboBox*>("Combo1");
    EXPECT_EQ(ports->currentText(), "COM2");
    EXPECT_EQ(form2->findChild<QLineEdit*>("Text14")->text(), "North");
    EXPECT_EQ(form2->focusWidget(), form2->findChild<QPushButton*>("Command3"));
    EXPECT_EQ(form2->findChild<QPushButton*>("Command3")->nextInFocusChain(),
              form2->findChild<QPushButton*>("Command1"));

    type("Text14", "South");
    type("Text18", "2200");
    form2->findChild<QCheckBox*>("Check1")->click();
    emit ports->activated(7);
    form2->findChild<QPushButton*>("Command1")->click();

    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(widget<QLabel>("Label24")->text(), "com7");
    StationConfig saved;
    ReadConfig(rig.programDir.path() / "sts.cfg", saved);
    EXPECT_EQ(WriteConfigText(saved, 7), WriteConfigText(rig.monitor.core().config, 7));
    EXPECT_EQ(saved.StationName, "South");
    EXPECT_EQ(saved.RemotePort, 2200);
    EXPECT_EQ(saved.EmailEnable, 1);

    widget<QAction>("mnset")->trigger();
    EXPECT_EQ(ports->currentText(), "COM7");
    EXPECT_TRUE(form2->findChild<QCheckBox*>("Check1")->isChecked());
}

TEST_F(RecordsWindows, LogTabListsTheDownloadedRecords) {
    rig.monitor.core().s.DemoMode = 1;
    widget<QTabWidget>("SSTab1")->setCurrentIndex(4);
    rig.advance(60'000);
    binder->flush();
    auto* list = widget<QListWidget>("List1");
    ASSERT_EQ(list->count(), 128);
    EXPECT_EQ(list->item(127)->text(), "127-10/09/2007  15:20 Service Login-");
    widget<QPushButton>("Command20")->click();
    EXPECT_EQ(list->count(), 0);
}

}  // namespace
}  // namespace treld::testing
