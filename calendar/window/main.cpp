#include <QApplication>
#include <QDate>
#include <QFile>
#include <QMessageBox>
#include <cstdio>
#include <filesystem>

#include "foundation/station_dir.h"
#include "instance_lock.h"
#include "language_texts.h"
#include "platform/command_line.h"
#include "takvim_window.h"

int main(int argc, char* argv[]) {
    QCommandLineParser noOptions;
    if (const std::optional<int> code = treld::answerCommandLine(
            argc, argv,
            "The event calendar of the STS monitor: a month grid of the PC event files in "
            "SERLOGS of the station's directory ($TRELD_DIR, else beside the program).",
            noOptions))
        return *code;
    QApplication application(argc, argv);
    const std::filesystem::path programDir(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());

    // A second copy ends quietly; the first one keeps the lock until it ends.
    const std::filesystem::path stationDir = treld::stationDirectory(programDir);
    const kirnal::InstanceLock lock(stationDir / kirnal::kInstanceLockFileName);
    if (!lock.acquired()) {
        return 0;
    }

    std::string problem;
    auto texts = kirnal::readLanguageFile(programDir / kirnal::kLanguageFileName, problem);
    if (!texts) {
        QMessageBox::information(nullptr, QCoreApplication::applicationName(),
                                 QStringLiteral("No language support can not work"));
        return 1;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        QMessageBox::warning(nullptr, QCoreApplication::applicationName(),
                             QString::fromLocal8Bit(problem));
    }

    const QDate today = QDate::currentDate();
    kirnal::TakvimWindow window(kirnal::CalendarView(
        stationDir, std::move(*texts), {today.year(), today.month()}, kirnal::systemMonthCaption));
    window.show();
    return application.exec();
}
