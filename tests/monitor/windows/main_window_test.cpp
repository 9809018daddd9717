// The real main window drawn from the display model, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>

#include "support/virtual_rig.h"
#include "windows/activity_indicator.h"
#include "windows/binder.h"
#include "windows/main_window.h"

namespace treld::testing {
namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        binder.bindAll();
        rig.start();
        binder.flush();
    }
    QString shown(const char* label) {
        binder.flush();
        return form1->findChild<QLabel*>(label)->text();
    }
    VirtualRig rig;
    std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    Binder binder{rig.monitor, {form1.get(), nullptr, nullptr, nullptr, nullptr}};
};

TEST_F(MainWindow, TheWindowStartsAsLocal) {
    EXPECT_EQ(form1->windowTitle(), "ZID evevori (Local)");
}

TEST_F(MainWindow, DeviceMessageIsShownWithoutControlCharactersAndClearsAfterTenSeconds) {
    rig.monitor.onSerialData("OK\r");
    EXPECT_EQ(shown("Label25"), "OK");
    rig.advance(10'000);
    EXPECT_EQ(shown("Label25"), "");
}

TEST_F(MainWindow, TheDemoSetTabCannotBeChosen) {
    auto* tabs = form1->findChild<QTabWidget*>("SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(3);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(rig.monitor.core().selectedTab(), 3);
    EXPECT_EQ(tabs->currentIndex(), 3);
}

// Counts the layout requests that reach any object.
struct LayoutRequests : QObject {
    int count = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        count += event->type() == QEvent::LayoutRequest ? 1 : 0;
        return false;
    }
};

// What the operator sees of the send and receive indicators on a shown window:
// every exchange flips both, each looks and is sized as a label with its frame
// and text would be, and once each text has been shown a flip does not lay the
// window out.
TEST_F(MainWindow, IndicatorsFlipWithEveryExchangeLookLikeLabelsAndLeaveTheLayoutAlone) {
    rig.device = answeringDevice;
    form1->show();
    LayoutRequests layoutRequests;
    auto shown = [&](const char* name, std::size_t exchange) {
        rig.runUntilSent(exchange);
        rig.advance(name == std::string("Label50") ? 20 : 0);  // the reply
        if (exchange > 8)                                      // a whole cycle has shown every text
            qApp->installEventFilter(&layoutRequests);
        binder.flush();
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&layoutRequests);
        auto* indicator = form1->findChild<ActivityIndicator*>(name);
        QLabel label(indicator->text());
        label.setFont(indicator->font());
        label.setPalette(indicator->palette());
        label.setFrameStyle(indicator->frameStyle());
        label.resize(indicator->size());
        EXPECT_EQ(indicator->grab().toImage().convertToFormat(QImage::Format_RGB32),
                  label.grab().toImage().convertToFormat(QImage::Format_RGB32))
            << name << " " << exchange;
        EXPECT_EQ(indicator->sizeHint(), label.sizeHint()) << name << " " << exchange;
        return indicator->text();
    };
    for (std::size_t exchange = 1; exchange <= 16; ++exchange) {
        const bool odd = exchange % 2 == 1;
        EXPECT_EQ(shown("Label56", exchange), odd ? "/Local STS/com1" : "\\Local STS/com1");
        EXPECT_EQ(shown("Label50", exchange), odd ? "\\" : "/");
    }
    EXPECT_EQ(layoutRequests.count, 0);
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
