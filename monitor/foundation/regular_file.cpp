#include "foundation/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace treld {

RegularFile::RegularFile(const std::filesystem::path& path, Mode mode) {
    const int flags = mode == Mode::Read ? O_RDONLY : O_RDWR | O_APPEND | O_CREAT;
    descriptor_ = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (descriptor_ < 0) {
        // ENXIO: a FIFO without a reader, or a device without its hardware.
        if (errno == ENXIO)
            problem_ = "not a regular file";
        else if (errno != ENOENT || mode == Mode::Append)
            problem_ = std::strerror(errno);
        return;
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        problem_ = "not a regular file";
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

RegularFile::~RegularFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

int RegularFile::release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

}  // namespace treld
