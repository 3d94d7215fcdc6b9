#include "engine/private_folder.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/temporary_name.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace kvalon {

PrivateFolder::PrivateFolder() {
    const std::string folder = system_temporary_folder();
    remove_abandoned_temporaries(folder);
    std::string name = folder + "/kvalon-p-" + temporary_name_stamp() + "XXXXXX";
    std::vector<char> writable(name.begin(), name.end());
    writable.push_back('\0');
    struct stat info {};
    // mkdtemp makes the folder 0700 whatever the umask.
    if (::mkdtemp(writable.data()) == nullptr || ::stat(writable.data(), &info) != 0) {
        throw KvalonError(ErrorKind::FileWrite, folder, system_reason(errno));
    }
    m_path = writable.data();
    m_cleanup = SignalCleanupEntry::for_folder(m_path, info.st_dev, info.st_ino);
}

PrivateFolder::~PrivateFolder() {
    m_cleanup.release();
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace kvalon
