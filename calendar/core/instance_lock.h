#pragma once

#include <filesystem>

namespace kirnal {

// Holds an exclusive lock on a lock file for as long as it lives, so that only one copy of the
// calendar runs from a program directory. The system drops the lock when the process ends in any
// way, so a crashed copy never blocks the next one.
class InstanceLock {
  public:
    explicit InstanceLock(const std::filesystem::path& lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another copy holds the lock. A lock file that cannot be created at all (for
    // example a read-only directory) does not stop the calendar: it counts as acquired.
    bool acquired() const { return acquired_; }

  private:
    int descriptor_ = -1;
    bool acquired_ = false;
};

inline constexpr const char* kInstanceLockFileName = "kirnal.lock";

}  // namespace kirnal
