#include "platform/private_folder_making.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

MadeFolder make_private_folder(const std::string& name_template) {
    std::vector<char> writable(name_template.begin(), name_template.end());
    writable.push_back('\0');
    struct stat info {};
    MadeFolder made;
    // mkdtemp makes the folder 0700 whatever the umask.
    if (::mkdtemp(writable.data()) == nullptr || ::stat(writable.data(), &info) != 0) {
        made.error = errno;
        return made;
    }
    made.path = writable.data();
    made.device = info.st_dev;
    made.inode = info.st_ino;
    return made;
}

} // namespace kvalon
