// The Qt windows drawn from the core's model, offscreen: the widgets the end-to-end run
// against the simulator does not touch (check boxes, lists, a shut tab, closing a window).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

#include "windows/activity_indicator.h"
#include "windows_rig.h"

namespace treld::testing {
namespace {

TEST(Windows, CheckBoxesListsAShutTabAndClosingAWindowGoThroughTheCore) {
    WindowsRig rig("COMPORT:2\r\nREMOTEIP2:10.0.0.7\r\n");
    QMainWindow* form1 = rig.form1.get();
    auto* tabs = form1->findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(!tabs->isTabEnabled(2) && tabs->currentIndex() == 0) << "the demo table's tab";
    rig.click("mnset");
    rig.binder.flush();
    form1->findChild<QCheckBox*>("Check1")->click();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, "Z\u00fcrich \u0130\u015fli");
    QApplication::sendEvent(form1->findChild<QWidget*>("Text14"), &typed);
    rig.click("Command1", Form::Form2);
    EXPECT_NE(rig.readFile("sts.cfg").find("\nSNAME:Z\xC3\xBCrich \xC4\xB0\xC5\x9Fli\r"),
              std::string::npos);
    EXPECT_NE(rig.readFile("sts.cfg").find("\nEMAILENABLE:1\r"), std::string::npos);
    form1->findChild<QListWidget*>("List3")->setCurrentRow(1);
    rig.click("Command5");
    rig.advance(1'100);  // Save restarts polling a second later
    EXPECT_EQ(rig.platform.remoteConnects.at(0).first, "10.0.0.7");
    rig.click("mnalarm");
    rig.binder.flush();
    rig.form4->close();
    EXPECT_FALSE(rig.element("Form4", Form::Form4).visible() || rig.form4->isVisible());
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
TEST(Windows, IndicatorsFlipWithEveryExchangeLookLikeLabelsAndLeaveTheLayoutAlone) {
    WindowsRig rig;
    rig.form1->show();
    LayoutRequests layoutRequests;
    auto shown = [&](const char* name, std::size_t exchange) {
        rig.runUntilSent(exchange);
        rig.advance(name == std::string("Label50") ? 20 : 0);  // the reply
        if (exchange > 8)                                      // a whole cycle has shown every text
            qApp->installEventFilter(&layoutRequests);
        rig.binder.flush();
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&layoutRequests);
        auto* indicator = rig.form1->findChild<ActivityIndicator*>(name);
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
