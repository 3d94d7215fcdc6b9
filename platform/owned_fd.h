#pragma once

namespace kvalon {

// A file descriptor closed when its owner goes.
class OwnedFd {
public:
    OwnedFd() = default;
    explicit OwnedFd(int fd) : m_fd(fd) {}
    ~OwnedFd() { reset(); }
    OwnedFd(OwnedFd&& other) noexcept : m_fd(other.release()) {}
    OwnedFd& operator=(OwnedFd&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            close_quietly(m_fd);
        }
        m_fd = fd;
    }
    // Closes now and tells whether the system took the last writes: 0, or the
    // errno of the failed close.
    int close_checked();

private:
    static void close_quietly(int fd);

    int m_fd = -1;
};

} // namespace kvalon
