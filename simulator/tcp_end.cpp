#include "tcp_end.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sts {

std::unique_ptr<TcpEnd> TcpEnd::listen(int port, std::string& error) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        error = "TCP port " + std::to_string(port) + ": " + std::strerror(errno);
        if (fd >= 0) {
            close(fd);
        }
        return nullptr;
    }
    return std::unique_ptr<TcpEnd>(new TcpEnd(fd, port));
}

TcpEnd::~TcpEnd() {
    if (client_ >= 0) {
        close(client_);
    }
    close(listener_);
}

void TcpEnd::acceptOne() {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const int on = 1;  // a character goes out when its time comes, not gathered
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = fd;
}

std::string TcpEnd::readAvailable() {
    if (client_ < 0) {
        acceptOne();
        return {};
    }
    char buffer[4096];
    const ssize_t n = read(client_, buffer, sizeof buffer);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        close(client_);  // the connection ended: the port waits for the next
        client_ = -1;
    }
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool TcpEnd::write(std::string_view bytes) {
    if (client_ < 0) {
        return false;
    }
    const ssize_t n = send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return n == static_cast<ssize_t>(bytes.size());
}

}  // namespace sts
