#include "platform/station_dir.h"

#include <unistd.h>

#include "foundation/station_dir.h"

namespace treld {

StationDir::StationDir(std::filesystem::path path)
    : path_(std::move(path)), lock_(QString::fromStdString((path_ / "treld.lock").string())) {
    lock_.setStaleLockTime(0);
}

std::filesystem::path StationDir::chosen(const QString& named,
                                         const std::filesystem::path& programDir) {
    return named.isEmpty() ? stationDirectory(programDir)
                           : std::filesystem::path(named.toStdString());
}

std::unique_ptr<StationDir> StationDir::take(const QString& named,
                                             const std::filesystem::path& programDir,
                                             QString& problem) {
    std::error_code failed;
    const std::filesystem::path dir =
        std::filesystem::absolute(chosen(named, programDir), failed).lexically_normal();
    const QString shown = QString::fromStdString(dir.string());
    if (failed || !std::filesystem::is_directory(dir, failed)) {
        problem = QStringLiteral("Station directory %1 is missing; the monitor ends.").arg(shown);
        return nullptr;
    }
    if (access(dir.c_str(), W_OK | X_OK) != 0) {
        problem =
            QStringLiteral("Station directory %1 is not writable; the monitor ends.").arg(shown);
        return nullptr;
    }
    std::unique_ptr<StationDir> taken(new StationDir(dir));
    if (!taken->lock_.tryLock(0)) {
        problem = QStringLiteral("Another monitor runs from %1; this one ends.").arg(shown);
        return nullptr;
    }
    qputenv(kStationDirVariable, QByteArray::fromStdString(dir.string()));
    return taken;
}

}  // namespace treld
