#include "platform/private_folder_making.h"

#include "file_identity.h"
#include "wide_text.h"

#include <cerrno>
#include <random>
#include <windows.h>

namespace kvalon {

namespace {

constexpr std::string_view kFilled = "XXXXXX";
constexpr int kTries = 100;

} // namespace

// The folder inherits the access of the folder it is made in: the user's own
// temporary folder is private to the user already.
MadeFolder make_private_folder(const std::string& name_template) {
    MadeFolder made;
    if (name_template.size() < kFilled.size() ||
        name_template.compare(name_template.size() - kFilled.size(), kFilled.size(), kFilled) !=
            0) {
        made.error = EINVAL;
        return made;
    }
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        std::string path = name_template;
        for (std::size_t i = path.size() - kFilled.size(); i < path.size(); ++i) {
            path[i] = kLetters[pick(random)];
        }
        if (::CreateDirectoryW(wide_text(path).c_str(), nullptr)) {
            if (!file_identity(path, made.device, made.inode)) {
                made.error = EIO;
                return made;
            }
            made.path = path;
            return made;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            made.error = ::GetLastError() == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
            return made;
        }
    }
    made.error = EEXIST;
    return made;
}

} // namespace kvalon
