#include "platform/file_placing.h"

#include "file_identity.h"
#include "platform/name_replacement.h"
#include "wide_text.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <windows.h>

namespace kvalon {

namespace {

constexpr std::string_view kFilled = "XXXXXX";
constexpr std::string_view kLetters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kTries = 100;

} // namespace

std::size_t longest_file_name() {
    return 255;
}

// Only we may read it: the user's own folders give access to the user alone.
int make_exclusive_file(std::string& name_template, OwnedFd& file) {
    if (name_template.size() < kFilled.size() ||
        std::string_view(name_template).substr(name_template.size() - kFilled.size()) != kFilled) {
        return EINVAL;
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        for (std::size_t i = name_template.size() - kFilled.size(); i < name_template.size(); ++i) {
            name_template[i] = kLetters[pick(random)];
        }
        file.reset(::_wopen(wide_text(name_template).c_str(),
                            _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE));
        if (file.valid() || errno != EEXIST) {
            return file.valid() ? 0 : errno;
        }
    }
    return EEXIST;
}

void remove_if_same(const std::string& path, const FileIdentity& identity) {
    FileDevice device = 0;
    FileNumber number = 0;
    if (file_identity(path, device, number) && device == identity.device &&
        number == identity.inode) {
        ::DeleteFileW(wide_text(path).c_str());
    }
}

int rename_into_place(const std::string& from, const std::string& to) {
    return replace_name(from, to);
}

// Access is the folder's on Windows: nothing to give a single file.
int set_permissions(int, unsigned) {
    return 0;
}

int set_owner(int, unsigned, unsigned) {
    return 0;
}

int set_group(int, unsigned) {
    return 0;
}

} // namespace kvalon
