#include "platform/port_source.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kvalon {

namespace {

OwnedFd failed(int& error) {
    error = errno;
    return OwnedFd();
}

OwnedFd listening(OwnedFd socket_fd, const sockaddr* address, socklen_t length, int& error) {
    if (!socket_fd.valid() || ::bind(socket_fd.get(), address, length) != 0 ||
        ::listen(socket_fd.get(), 4) != 0) {
        return failed(error);
    }
    return socket_fd;
}

} // namespace

OwnedFd open_port_pipe(const std::string& path, int& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return failed(error);
    }
    if (!S_ISFIFO(info.st_mode)) {
        error = ENOTSUP;
        return OwnedFd();
    }
    // Read and write: our own writer end keeps the pipe from ever reporting
    // its end between two writers.
    OwnedFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    return fd.valid() ? std::move(fd) : failed(error);
}

OwnedFd listen_on_local_socket(const std::string& path, int& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        error = ENAMETOOLONG;
        return OwnedFd();
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            error = EEXIST;
            return OwnedFd();
        }
        ::unlink(path.c_str());
    }
    return listening(OwnedFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)),
                     reinterpret_cast<const sockaddr*>(&address), sizeof address, error);
}

OwnedFd listen_on_tcp(const std::string& address_text, int port, int& error) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address_text.c_str(), &address.sin_addr) != 1) {
        error = EINVAL;
        return OwnedFd();
    }
    OwnedFd socket_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int reuse = 1;
    if (socket_fd.valid()) {
        ::setsockopt(socket_fd.get(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    }
    return listening(std::move(socket_fd), reinterpret_cast<const sockaddr*>(&address),
                     sizeof address, error);
}

OwnedFd accept_connection(int listener, int& error) {
    OwnedFd fd(::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    return fd.valid() ? std::move(fd) : failed(error);
}

long read_available(int fd, char* buffer, std::size_t size, int& error) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) {
            return static_cast<long>(got);
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return -1;
        }
        error = errno;
        return -2;
    }
}

} // namespace kvalon
