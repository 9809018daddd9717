#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kirnal {

InstanceLock::InstanceLock(const std::filesystem::path& lockFile)
    : descriptor_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    acquired_ = descriptor_ < 0 || ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

}  // namespace kirnal
