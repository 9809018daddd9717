// The Qt windows drawn from the core's model, offscreen at a scale factor of 1.5: the
// widgets the end-to-end run against the simulator does not touch, the keyboard, the
// questions before commands, and the main window's size.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <filesystem>

#include "platform/whole_file.h"
#include "windows/scaled_canvas.h"
#include "windows_rig.h"

namespace treld::testing {
namespace {

template <typename T = QWidget>
T* widget(WindowsRig& rig, const char* name, Form form = Form::Form1) {
    return rig.windows[int(form)]->findChild<T*>(name);
}

// The Yes/No question on screen, if any.
QMessageBox* question(WindowsRig& rig) {
    for (auto* box : rig.form1->findChildren<QMessageBox*>()) {
        if (box->isVisible() && box->button(QMessageBox::Yes) != nullptr)
            return box;
    }
    return nullptr;
}

TEST(Windows, CheckBoxesListsAShutTabAndClosingAWindowGoThroughTheCore) {
    WindowsRig rig("COMPORT:2\r\nREMOTEIP2:10.0.0.7\r\n");
    QMainWindow* form1 = rig.form1;
    auto* tabs = form1->findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(!tabs->isTabEnabled(2) && tabs->currentIndex() == 0) << "the demo table's tab";
    rig.click("mnset");
    rig.binder.flush();
    form1->findChild<QCheckBox*>("Check1")->click();
    rig.click("Command1", Form::Form2);
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

TEST(Windows, PasswordsAreMaskedNeverStaleAndEveryCommandIsAskedForWithNoTheDefault) {
    WindowsRig rig;
    rig.form1->show();
    rig.click("mnuselogon");
    rig.binder.flush();
    auto* password = widget<QLineEdit>(rig, "Text1", Form::Form3);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(password, "1234");
    QTest::keyClick(password, Qt::Key_Return);  // Enter presses Logon
    rig.advance(8'000);
    rig.binder.flush();
    ASSERT_FALSE(rig.windows[int(Form::Form3)]->isVisible()) << "logged in";

    // The service dialog shows an empty field, and Enter there sends nothing of the user's.
    widget<QAction>(rig, "mnlogon")->trigger();
    EXPECT_EQ(password->text(), "");
    QTest::keyClick(password, Qt::Key_Return);
    rig.advance(25'000);
    EXPECT_EQ(std::ranges::count(rig.commandsSent(), "P1234\r"), 0);
    EXPECT_GT(std::ranges::count(rig.commandsSent(), "U1234\r"), 0) << "the keep-alive";
    QTest::keyClick(password, Qt::Key_Escape);

    rig.form1->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(3);
    auto* inhibit = widget<QPushButton>(rig, "Command2_4");
    auto inhibits = [&] { return std::ranges::count(rig.commandsSent(), "INH"); };
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        inhibit->click();
        QMessageBox* box = question(rig);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        EXPECT_TRUE(box->text().startsWith("Send \"Output inhibit\" (INH) to the STS?"));
        QTest::keyClick(box, key);
        rig.advance(3'000);
        EXPECT_EQ(inhibits(), 0) << "nothing queued on No";
    }
    inhibit->click();
    question(rig)->button(QMessageBox::Yes)->click();
    rig.runUntil([&] { return inhibits() == 1; });
}

TEST(Windows, SettingsReloadOnEachOpeningEnterSavesAndTabFollowsTheRows) {
    WindowsRig rig;
    QWidget* form2 = rig.windows[int(Form::Form2)];
    auto* open = widget<QAction>(rig, "mnset");
    auto* sender = widget<QLineEdit>(rig, "Text1", Form::Form2);
    open->trigger();
    EXPECT_EQ(widget<QLineEdit>(rig, "Text5", Form::Form2)->echoMode(), QLineEdit::Password);
    QTest::keyClicks(sender, "unsaved@x");
    QTest::keyClick(sender, Qt::Key_Escape);
    EXPECT_FALSE(form2->isVisible());
    open->trigger();
    EXPECT_EQ(sender->text(), "") << "reloaded from memory";

    // Tab goes through the fields as they are laid out: rows top down, each left to right.
    std::vector<QWidget*> order;
    for (QWidget* w = form2->nextInFocusChain(); w != form2; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(form2))
            order.push_back(w);
    }
    ASSERT_GT(order.size(), 25u);
    for (std::size_t i = 1; i < order.size(); ++i) {
        const QPoint a = order[i - 1]->mapTo(form2, QPoint());
        const QPoint b = order[i]->mapTo(form2, QPoint());
        EXPECT_TRUE(b.y() > a.y() + 4 || (std::abs(b.y() - a.y()) <= 4 && b.x() > a.x()))
            << order[i - 1]->objectName().toStdString() << " before "
            << order[i]->objectName().toStdString();
    }

    QTest::keyClicks(sender, "saved@x");
    QTest::keyClick(sender, Qt::Key_Return);  // Enter presses Save
    EXPECT_NE(rig.readFile("sts.cfg").find("\nSENDERADRES:saved@x\r"), std::string::npos);
    EXPECT_FALSE(form2->isVisible());
}

TEST(Windows, MenusOpenWithAltProgramHelpShowsTheGuideAndTheLogTabItsProgress) {
    WindowsRig rig;
    rig.form1->show();
    QApplication::setActiveWindow(rig.form1);
    QTest::keyClick(rig.form1, Qt::Key_H, Qt::AltModifier);
    QMenu* help = rig.form1->menuBar()->actions().at(2)->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }, 1'000)) << "Alt+H";
    help->close();

    rig.writeFile("operator-guide.md", "# Operator's guide\n\n## Logging in\n");
    widget<QAction>(rig, "phelp")->trigger();
    ASSERT_TRUE(rig.windows[int(Form::Form7)]->isVisible());
    EXPECT_TRUE(rig.windows[int(Form::Form7)]->findChild<QTextBrowser*>()->toPlainText().contains(
        "Logging in"));

    rig.form1->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(4);
    rig.runUntil([&] { return rig.element("List1").items().size() == 16; });
    rig.advance(20);
    rig.binder.flush();
    EXPECT_EQ(widget<QLabel>(rig, "LogProgress")->text(), "Reading record 17 of 128");
}

// One picture at a time of the smallest window, as drawn and enlarged: the diagram keeps its
// proportions and stays whole, nothing overlaps, the version is not cut, and the smallest
// window fits a 1366 x 768 screen with room for a title bar.
TEST(Windows, AtScale15TheWindowFitsA1366x768ScreenAndTheDiagramScalesAsAWhole) {
    ASSERT_EQ(qApp->devicePixelRatio(), 1.5);
    WindowsRig rig;
    rig.sts.replies["FIR"] = DeviceReply{"STS-3P firmware 2.14 (sts-sim)\r"};
    rig.runPast("FIR");
    rig.binder.flush();
    QMainWindow* form1 = rig.form1;
    form1->show();
    auto* canvas = form1->findChild<ScaledCanvas*>();
    auto* version = widget<QLabel>(rig, "Label52");
    auto* load = widget(rig, "Shape1");
    for (const QSize size : {QSize(1, 1), QSize(733, 600), QSize(1400, 1000)}) {
        form1->resize(size);
        QApplication::processEvents();
        const std::string at =
            std::to_string(form1->width()) + "x" + std::to_string(form1->height());
        for (QWidget* part : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(canvas->rect().contains(part->geometry()))
                << at << " cuts " << part->objectName().toStdString();
        EXPECT_NEAR(load->width(), load->height(), 1) << at;
        EXPECT_LE(version->fontMetrics().horizontalAdvance(version->text()),
                  version->contentsRect().width())
            << at << ": " << version->text().toStdString();
        EXPECT_FALSE(
            widget(rig, "List3")->geometry().intersects(widget(rig, "Command5")->geometry()))
            << at;
        if (size == QSize(1, 1)) {
            const QImage picture = form1->grab().toImage();
            picture.save("main-window-smallest-at-1.5.png");
            EXPECT_LE(picture.width(), 1366) << at;
            EXPECT_LE(picture.height(), 768 - 48) << at;
        }
    }
}

// sts.cfg and a saved trend range: whole and owner-only, or, on a full disk, the old file
// untouched and nothing left beside it.
TEST(WholeFile, ReplacesOwnerOnlyOrLeavesTheOldFileAndNoTemporaryOne) {
    const QString dir = QDir::tempPath() + "/whole-file-test-" + QString::number(getpid());
    QDir().mkpath(dir);
    const QString file = dir + "/sts.cfg";
    QFile(file).open(QIODevice::WriteOnly);  // readable by all, as umask leaves it
    ASSERT_TRUE(saveWholeFile(file, "old"));
    EXPECT_EQ(std::filesystem::status(file.toStdString()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    rlimit saved{};  // files grow no further than 16 bytes meanwhile
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit full{16, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    EXPECT_FALSE(saveWholeFile(file, QByteArray(100, 'x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    QFile old(file);
    EXPECT_TRUE(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"sts.cfg"});
    QDir(dir).removeRecursively();
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
