#include "platform/folder_events.h"

#include <array>
#include <cerrno>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace kvalon {

FolderEvents::FolderEvents(const std::string& folder)
    : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    constexpr std::uint32_t kChanges =
        IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_MODIFY | IN_DELETE | IN_MOVED_FROM;
    if (m_fd.valid() && ::inotify_add_watch(m_fd.get(), folder.c_str(), kChanges) < 0) {
        m_fd.reset();
    }
}

void FolderEvents::drain() {
    std::array<char, 8192> events;
    while (m_fd.valid() && ::read(m_fd.get(), events.data(), events.size()) > 0) {
    }
}

int wait_readable(const std::vector<int>& fds, int milliseconds) {
    std::vector<pollfd> watched;
    std::vector<int> index_of;
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i] >= 0) {
            watched.push_back({fds[i], POLLIN, 0});
            index_of.push_back(static_cast<int>(i));
        }
    }
    if (::poll(watched.data(), watched.size(), milliseconds) <= 0) {
        return -1;
    }
    for (std::size_t i = 0; i < watched.size(); ++i) {
        if (watched[i].revents != 0) {
            return index_of[i];
        }
    }
    return -1;
}

} // namespace kvalon
