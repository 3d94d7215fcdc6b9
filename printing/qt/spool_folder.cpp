#include "printing/qt/spool_folder.h"

#include "engine/atomic_file.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace kvalon {

namespace {

constexpr const char* kTemporaryVariable = "TMPDIR";

// TMPDIR points at `folder` while the object lives, and is given back as it was.
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const std::string& folder) {
        if (const char* old = std::getenv(kTemporaryVariable)) {
            m_old = old;
        }
        ::setenv(kTemporaryVariable, folder.c_str(), 1);
    }
    ~TemporaryFolderSetting() {
        if (m_old) {
            ::setenv(kTemporaryVariable, m_old->c_str(), 1);
        } else {
            ::unsetenv(kTemporaryVariable);
        }
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

private:
    std::optional<std::string> m_old;
};

} // namespace

bool SpoolFolder::open_in(const std::function<bool()>& open_spool) {
    remove();
    std::string pattern = system_temporary_folder() + "/kvalon-p-spool-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return open_spool();
    }
    m_path = pattern;
    m_folder_entry = SignalCleanupEntry::for_folder(m_path);
    const TemporaryFolderSetting setting(m_path);
    return open_spool();
}

void SpoolFolder::remove() noexcept {
    m_folder_entry.release();
    if (!m_path.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
        m_path.clear();
    }
}

} // namespace kvalon
