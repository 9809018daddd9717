// The calendar's window offscreen, driven from the keyboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "takvim_window.h"

namespace kirnal {
namespace {

// Enter on the clear-month question answers No: deleting a month takes a deliberate Yes.
TEST(TakvimWindow, EnterOnTheClearMonthQuestionKeepsTheMonthYesDeletesIt) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("takvim-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "SERLOGS");
    const auto month = dir / "SERLOGS" / "2008-12.TXT";
    std::ofstream(month) << " 1 24-12-2008--00:00:01 Program start\r\n";
    TakvimWindow window(CalendarView(dir, LanguageTexts(), {2008, 12}, systemMonthCaption));
    window.show();
    for (const bool enter : {true, false}) {
        QTimer::singleShot(0, [enter] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (enter)
                QTest::keyClick(question, Qt::Key_Return);
            else
                question->button(QMessageBox::Yes)->click();
        });
        window.findChild<QPushButton*>("Command4")->click();
        EXPECT_EQ(std::filesystem::exists(month), enter);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kirnal

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
