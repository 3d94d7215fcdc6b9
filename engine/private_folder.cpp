#include "engine/private_folder.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "platform/private_folder_making.h"
#include "platform/temporary_name.h"

#include <filesystem>

namespace kvalon {

PrivateFolder::PrivateFolder() {
    const std::string folder = system_temporary_folder();
    remove_abandoned_temporaries(folder);
    std::string name = folder + "/kvalon-p-" + temporary_name_stamp() + "XXXXXX";
    const MadeFolder made = make_private_folder(name);
    if (made.error != 0) {
        throw KvalonError(ErrorKind::FileWrite, folder, system_reason(made.error));
    }
    m_path = made.path;
    m_cleanup = SignalCleanupEntry::for_folder(m_path, made.device, made.inode);
}

PrivateFolder::~PrivateFolder() {
    m_cleanup.release();
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace kvalon
