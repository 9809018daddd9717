#include "serial_end.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sts {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool makeRaw(int fd, bool setSpeed) {
    termios mode{};
    if (tcgetattr(fd, &mode) != 0) {
        return false;
    }
    cfmakeraw(&mode);
    mode.c_cflag |= CLOCAL | CREAD;
    mode.c_cflag &= ~(CSTOPB | PARENB | CSIZE);
    mode.c_cflag |= CS8;
    if (setSpeed && (cfsetispeed(&mode, B2400) != 0 || cfsetospeed(&mode, B2400) != 0)) {
        return false;
    }
    return tcsetattr(fd, TCSANOW, &mode) == 0;
}

}  // namespace

std::unique_ptr<SerialEnd> SerialEnd::openPty(std::string& error) {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = systemError("posix_openpt");
        return nullptr;
    }
    const char* name = nullptr;
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || (name = ptsname(fd)) == nullptr) {
        error = systemError("pseudo-terminal set-up");
        close(fd);
        return nullptr;
    }
    std::string peer = name;
    // The line settings live with the pair, so raw mode set here holds for every opener.
    if (!makeRaw(fd, false)) {
        error = systemError("raw mode on " + peer);
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SerialEnd>(new SerialEnd(fd, std::move(peer), true));
}

std::unique_ptr<SerialEnd> SerialEnd::openDevice(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = systemError(path);
        return nullptr;
    }
    if (!makeRaw(fd, true)) {
        error = systemError("2400 8N1 on " + path);
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SerialEnd>(new SerialEnd(fd, path, false));
}

SerialEnd::~SerialEnd() {
    close(fd_);
}

std::string SerialEnd::readAvailable() {
    std::string received;
    char buffer[512];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            // EAGAIN: nothing more; EIO: nobody has the other end of the pty open.
            return received;
        }
        received.append(buffer, static_cast<std::size_t>(n));
        if (received.size() >= 4096) {
            return received;  // let the caller work through it before reading more
        }
    }
}

bool SerialEnd::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace sts
