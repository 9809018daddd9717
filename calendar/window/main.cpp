#include <QApplication>
#include <QDate>
#include <QFile>
#include <QMessageBox>
#include <filesystem>

#include "instance_lock.h"
#include "language_texts.h"
#include "takvim_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const std::filesystem::path programDir(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());

    // A second copy ends quietly; the first one keeps the lock until it ends.
    const kirnal::InstanceLock lock(programDir / kirnal::kInstanceLockFileName);
    if (!lock.acquired()) {
        return 0;
    }

    auto texts = kirnal::readLanguageFile(programDir / kirnal::kLanguageFileName);
    if (!texts) {
        QMessageBox::information(nullptr, QCoreApplication::applicationName(),
                                 QStringLiteral("No language support can not work"));
        return 1;
    }

    const QDate today = QDate::currentDate();
    kirnal::TakvimWindow window(kirnal::CalendarView(
        programDir, std::move(*texts), {today.year(), today.month()}, kirnal::systemMonthCaption));
    window.show();
    return application.exec();
}
