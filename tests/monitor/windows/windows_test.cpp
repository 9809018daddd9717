// The Qt windows drawn from the core's model, offscreen at a scale factor of 1.5: the widgets
// the end-to-end run does not touch, the keyboard, the questions before commands, the size.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <filesystem>

#include "platform/whole_file.h"
#include "windows/activity_indicator.h"
#include "windows/scaled_canvas.h"
#include "windows/trends_window.h"
#include "windows_rig.h"

namespace treld::testing {
namespace {

template <typename T = QWidget>
T* widget(WindowsRig& rig, const char* name, Form form = Form::Form1) {
    return rig.windows[int(form)]->findChild<T*>(name);
}

TEST(Windows, CheckBoxesListsAShutTabAndClosingAWindowGoThroughTheCore) {
    WindowsRig rig("COMPORT:2\r\nREMOTEIP2:10.0.0.7\r\n");
    QMainWindow* form1 = rig.form1.get();
    auto* tabs = form1->findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(!tabs->isTabEnabled(2) && tabs->currentIndex() == 0) << "the demo table's tab";
    rig.click(kSettingsMenu);
    rig.binder.flush();
    form1->findChild<QCheckBox*>("Check1")->click();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, "Z\u00fcrich \u0130\u015fli");
    QApplication::sendEvent(form1->findChild<QWidget*>("Text14"), &typed);
    rig.click("Command1", Form::Form2);
    EXPECT_NE(rig.readFile("sts.cfg").find("\nSNAME:Z\xC3\xBCrich \xC4\xB0\xC5\x9Fli\r"),
              std::string::npos);
    EXPECT_NE(rig.readFile("sts.cfg").find("\nEMAILENABLE:1\r"), std::string::npos);
    form1->findChild<QListWidget*>("List3")->setCurrentRow(1);
    rig.click(kConnect);
    rig.advance(1'100);  // Save restarts polling a second later
    EXPECT_EQ(rig.platform.remoteConnects.at(0).first, "10.0.0.7");
    rig.click(kAlarmsMenu);
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

TEST(Windows, MenusHelpMaskedPasswordsNeverStaleAndEveryCommandAskedForWithNoTheDefault) {
    WindowsRig rig;
    rig.form1->show();
    QApplication::setActiveWindow(rig.form1.get());
    QTest::keyClick(rig.form1.get(), Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget(); }, 1'000));
    rig.writeFile("operator-guide.md", "# Operator's guide\n\n## Logging in\n");
    widget<QAction>(rig, "phelp")->trigger();
    EXPECT_TRUE(rig.windows[int(Form::Form7)]->findChild<QTextBrowser*>()->toPlainText().contains(
        "Logging in"));

    widget<QAction>(rig, "mnuselogon")->trigger();
    auto* password = widget<QLineEdit>(rig, "Text1", Form::Form3);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(password, "1111");
    QTest::keyClick(password, Qt::Key_Return);  // Enter presses Logon
    rig.advance(8'000);
    // The service dialog shows an empty field, and Enter there sends nothing of the user's.
    widget<QAction>(rig, "mnlogon")->trigger();
    EXPECT_EQ(password->text(), "");
    QTest::keyClick(password, Qt::Key_Return);
    rig.advance(25'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "P1111\r"), 0);
    EXPECT_GT(std::ranges::count(rig.commandsSent(), "U1111\r"), 0) << "the keep-alive";

    rig.form1->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(3);
    auto inhibits = [&] { return std::ranges::count(rig.commandsSent(), "INH"); };
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Y}) {  // Y: a click on Yes
        widget<QPushButton>(rig, "Command2_4")->click();
        QMessageBox* box = rig.form1->findChildren<QMessageBox*>().back();  // the newest
        ASSERT_EQ(box->text(),
                  "Send \"Output inhibit\" (INH) to the STS?\n\nSHUTDOWN the output voltage.");
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        key == Qt::Key_Y ? box->button(QMessageBox::Yes)->click() : QTest::keyClick(box, key);
        rig.advance(3'000);
        EXPECT_EQ(inhibits(), key == Qt::Key_Y ? 1 : 0) << "only Yes queues it";
    }
}

TEST(Windows, SettingsReloadOnEachOpeningEnterSavesAndTabFollowsTheRows) {
    WindowsRig rig;
    QWidget* form2 = rig.windows[int(Form::Form2)];
    auto* sender = widget<QLineEdit>(rig, "Text1", Form::Form2);
    for (const char* typed : {"unsaved@x", "saved@x"}) {
        widget<QAction>(rig, "mnset")->trigger();
        EXPECT_EQ(sender->text(), "") << "reloaded from memory";
        QTest::keyClicks(sender, typed);
        QTest::keyClick(sender, typed[0] == 'u' ? Qt::Key_Escape : Qt::Key_Return);
        EXPECT_FALSE(form2->isVisible());
    }
    EXPECT_NE(rig.readFile("sts.cfg").find("\nSENDERADRES:saved@x\r"), std::string::npos);
    EXPECT_EQ(widget<QLineEdit>(rig, "Text5", Form::Form2)->echoMode(), QLineEdit::Password);
    widget<QAction>(rig, "mnset")->trigger();
    widget(rig, "Text17", Form::Form2)->setFocus();  // the last field: Tab goes on to Save
    QTest::keyClick(form2->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(form2->focusWidget()->objectName(), "Command1");
}

// A lost link greys the diagram and the lamps, neither green nor red, until the first reply.
TEST(Windows, ALostLinkGreysTheDiagramAndTheLampsUntilTheFirstReply) {
    WindowsRig rig;
    rig.runPast("SAS");
    auto colours = [&] {  // of a line, a closed switch's ground, a lamp: 'g'reen or gr'e'y
        rig.binder.flush();
        std::string shown;
        for (auto [name, form, height] : {std::tuple{"Line10", Form::Form1, 0.5},
                                          {"sw7", Form::Form1, 0.05},
                                          {"Image2_0", Form::Form4, 0.5}}) {
            QWidget* part = widget(rig, name, form);
            QWidget* window = rig.windows[int(form)];
            const QImage picture = window->grab().toImage();
            const QPoint at =
                part->mapTo(window, QPoint(part->width() / 2, part->height() * height));
            const QColor c = picture.pixelColor(at * picture.devicePixelRatio());
            shown += c.green() > c.red() + 40             ? 'g'
                     : std::abs(c.red() - c.green()) < 16 ? 'e'
                                                          : '?';
        }
        return shown;
    };
    EXPECT_EQ(colours(), "ggg");
    rig.fault("SRV").silent = rig.fault("OPL").silent = true;
    rig.runUntil([&] { return rig.caption(kMainWindow).find("No data") != std::string::npos; });
    EXPECT_EQ(colours(), "eee");
    rig.faults.clear();
    rig.runUntil([&] { return rig.caption(kMainWindow) == "ZID evevori/Logout(Local)"; }, 10'000);
    EXPECT_EQ(colours(), "ggg");
}

// The smallest window as a picture fits a 1366 x 768 screen with room for a title bar; at
// every size the diagram keeps its proportions and stays whole, and the version is not cut.
TEST(Windows, AtScale15TheWindowFitsA1366x768ScreenAndTheDiagramScalesAsAWhole) {
    ASSERT_EQ(qApp->devicePixelRatio(), 1.5);
    WindowsRig rig;
    rig.runPast("FIR");
    rig.binder.flush();
    rig.form1->show();
    auto* canvas = rig.form1->findChild<ScaledCanvas*>();
    auto* version = widget<QLabel>(rig, "Label52");
    for (const QSize size : {QSize(1, 1), QSize(733, 600), QSize(1400, 1000)}) {
        rig.form1->resize(size);
        QApplication::processEvents();
        for (QWidget* part : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(canvas->rect().contains(part->geometry()))
                << part->objectName().toStdString();
        EXPECT_NEAR(widget(rig, "Shape1")->width(), widget(rig, "Shape1")->height(), 1);
        EXPECT_LE(version->fontMetrics().horizontalAdvance(version->text()),
                  version->contentsRect().width());
        const QImage picture = rig.form1->grab().toImage();  // the smallest first
        EXPECT_TRUE(size != QSize(1, 1) || (picture.width() <= 1366 && picture.height() <= 720))
            << picture.height();
    }
    widget<QAction>(rig, "mnset")->trigger();  // Save and Cancel on the screen too
    EXPECT_LE(rig.windows[int(Form::Form2)]->height() * 1.5, 720);
}

// On a 1366 x 768 screen at scale 1.5 every lamp and the charts' right edge, third chart and
// last time label show; the 24 h axis has the day; Escape closes Trends; a picture says what
// it shows and a second save does not take the first one's name.
TEST(Windows, AlarmsAndTrendsFitTheScreenAndSayWhatTheyShow) {
    WindowsRig rig("COMPORT:1\r\nSNAME:Plant 7\r\n");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(911, 512));  // 1366 x 768 at 1.5
    rig.click(kAlarmsMenu);
    rig.binder.flush();
    for (QLabel* part : rig.form4->findChildren<QLabel*>())
        EXPECT_TRUE(QRect(QPoint(), screen.size() * 0.9).contains(part->geometry()));

    rig.click(kTrendsMenu);
    rig.select("TrendRange", 3, Form::Form6);  // 24 h
    rig.advance(2'000);
    rig.binder.flush();
    QWidget* trends = rig.windows[int(Form::Form6)];
    QApplication::processEvents();
    EXPECT_TRUE(screen.contains(QRect(QPoint(), trends->frameGeometry().size())));
    auto* charts = widget<TrendCharts>(rig, "TrendCharts", Form::Form6);
    QChart* last = charts->chart(TrendCharts::kPanels - 1);
    EXPECT_TRUE(trends->rect().contains(charts->geometry()));
    auto* time = static_cast<QDateTimeAxis*>(last->axes(Qt::Horizontal).front());
    const QString label = time->max().toString(time->format());
    EXPECT_TRUE(label.contains(time->max().toString("dd"))) << label.toStdString();
    EXPECT_LE(
        last->plotArea().right() + QFontMetrics(time->labelsFont()).horizontalAdvance(label) / 2.0,
        last->size().width());
    const QImage chart = charts->findChildren<QChartView*>().back()->grab().toImage();
    EXPECT_EQ(chart.pixel(chart.width() - 30, chart.height() / 2), qRgb(255, 255, 255))
        << "the chart's background covers the chart";
    EXPECT_TRUE(charts->pictureTitle("Plant 7").startsWith("Plant 7   Trends 24 h: "));
    EXPECT_GT(charts->picture("Plant 7").height(), charts->grab().height());
    QTemporaryDir folder;
    const QString first = freshFileName(folder.path(), "trends", ".png", rig.monitor.trends(), 3);
    QFile(first).open(QIODevice::WriteOnly);
    EXPECT_NE(freshFileName(folder.path(), "trends", ".png", rig.monitor.trends(), 3), first);
    QTest::keyClick(trends, Qt::Key_Escape);
    EXPECT_FALSE(trends->isVisible());
}

// F1, the port box and the station's name from the start; the demo table's tab while demo
// answers stand in; the e-mail test of an unsaved form.
TEST(Windows, HelpKeyLinkKindStationNameDemoTabAndTheEmailTestOfWhatTheFormShows) {
    WindowsRig rig("COMPORT:3\r\nSNAME:Plant 7\r\n");
    rig.form1->show();
    QApplication::setActiveWindow(rig.form1.get());
    QTest::keyClick(rig.form1.get(), Qt::Key_F1);
    rig.binder.flush();
    EXPECT_TRUE(rig.windows[int(Form::Form7)]->isVisible());
    EXPECT_EQ(widget<QLabel>(rig, "Label24")->text(), "com3");
    EXPECT_EQ(widget<QLabel>(rig, "StationName")->text(), "Plant 7");

    widget<QAction>(rig, "mnset")->trigger();
    auto* outcome = widget<QLabel>(rig, "MailTestOutcome", Form::Form2);
    auto* save = widget(rig, "Command1", Form::Form2);
    QApplication::processEvents();
    const QRect saveAt = save->geometry();
    QTest::keyClicks(widget(rig, "Text1", Form::Form2), "sts@plant.example");
    widget<QPushButton>(rig, "Command2", Form::Form2)->click();
    EXPECT_TRUE(outcome->text().contains("Save first")) << outcome->text().toStdString();
    QApplication::processEvents();
    EXPECT_EQ(save->geometry(), saveAt) << "the outcome does not move the buttons";
    EXPECT_EQ(inDialogWords("send: not sent: SENDERADRES: is empty"),
              "send: not sent: \"sender e-mail address\" is empty");
    emit widget<QComboBox>(rig, "Combo1", Form::Form2)->activated(0);  // Demo
    widget<QPushButton>(rig, "Command1", Form::Form2)->click();
    widget<QAction>(rig, "mnset")->trigger();
    EXPECT_EQ(outcome->text(), "") << "cleared on reopening";
    EXPECT_TRUE(rig.form1->findChild<QTabWidget*>("SSTab1")->isTabEnabled(2));
}

// sts.cfg and a saved trend range: whole and owner-only, or, on a full disk, the old file
// untouched.
TEST(WholeFile, ReplacesOwnerOnlyOrLeavesTheOldFileAndNoTemporaryOne) {
    QTemporaryDir dir;
    const QString file = dir.filePath("sts.cfg");
    ASSERT_TRUE(saveWholeFile(file, "old"));
    EXPECT_EQ(std::filesystem::status(file.toStdString()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    rlimit saved{};  // files grow no further than 16 bytes meanwhile
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, std::array<rlimit, 1>{{{16, saved.rlim_max}}}.data());
    EXPECT_FALSE(saveWholeFile(file, QByteArray(100, 'x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    QFile old(file);
    EXPECT_TRUE(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    // A 1366 x 768 screen at a scale factor of 1.5.
    QTemporaryFile screens;
    screens.open();
    screens.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1366, "height": 768,
                                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
