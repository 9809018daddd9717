#include "takvim_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "month_file.h"
#include "temp_program_dir.h"

namespace kirnal {
namespace {

TEST(TakvimWindow, BuildsItsNamedControlsAndListsAClickedDay) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    char name[] = "kirnal_window_tests";
    char* argv[] = {name, nullptr};
    int argc = 1;
    QApplication application(argc, argv);
    const TempProgramDir dir;
    dir.write("SERLOGS/2008-03.TXT",
              " 1 05-03-2008--10:02:55 Program start\r\n 100 05-03-2008--10:03:00 Overload\r\n");
    TakvimWindow window(CalendarView(dir.path(), LanguageTexts{}, {2008, 3}, systemMonthCaption));
    window.show();

    EXPECT_EQ(window.objectName(), "TAKVIM");
    for (const char* name : {"Label1_0", "Label1_6", "Label2_37", "Label4", "Label9", "Command1",
                             "Command2", "Command3", "Command4"})
        EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_FALSE(window.findChild<QWidget*>("Label2_6")->isVisible());  // 1 March 2008: Saturday
    auto* fifth = window.findChild<QLabel*>("Label2_11");
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->text(), "5");
    EXPECT_EQ(fifth->palette().color(QPalette::Window), QColor(192, 255, 255));

    QTest::mouseClick(fifth, Qt::LeftButton);
    auto* list = window.findChild<QListWidget*>("List1");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "05-03-2008--10:03:00 Overload");
    EXPECT_EQ(fifth->frameShadow(), QFrame::Raised);
}

}  // namespace
}  // namespace kirnal
