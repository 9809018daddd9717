// The station's directory, chosen on the command line (--dir), by $TRELD_DIR
// (a service's setting) or else the program's own, checked and locked before
// anything is written: one monitor per directory, since a second would poll
// the same device and append to the same files.
#pragma once

#include <QLockFile>
#include <QString>
#include <filesystem>
#include <memory>

namespace treld {

class StationDir {
  public:
    // The directory `named` (empty: $TRELD_DIR, else `programDir`), made
    // absolute and locked, and $TRELD_DIR set to it for the programs the
    // monitor starts. Nothing, and why in `problem`, when it is missing, not
    // writable or another monitor holds it.
    static std::unique_ptr<StationDir> take(const QString& named,
                                            const std::filesystem::path& programDir,
                                            QString& problem);

    // The directory `named` (empty: $TRELD_DIR, else `programDir`), unchecked.
    static std::filesystem::path chosen(const QString& named,
                                        const std::filesystem::path& programDir);

    const std::filesystem::path& path() const { return path_; }

  private:
    explicit StationDir(std::filesystem::path path);

    std::filesystem::path path_;
    QLockFile lock_;  // the lock goes with a clean end; one a crash left is taken over
};

}  // namespace treld
