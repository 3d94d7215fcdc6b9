#include "engine/replace_target.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/messages.h"

#include "platform/file_facts.h"
#include "platform/file_placing.h"

#include <cerrno>
#include <string_view>

namespace kvalon {

namespace {

// The kernel gives up after as many links in one name.
constexpr int kMostLinks = 40;
constexpr unsigned kNewFileBits = 0666;
constexpr unsigned kGroupBits = 0070;
constexpr unsigned kGroupOrOthersWrite = 0022;

// In a folder others may write (its group or others write bit, sticky or
// not), anyone who may write there may have planted a link or moved one into
// place, so only a link of ours or of root is followed. The kernel's own rule
// (fs.protected_symlinks) covers sticky folders only, and only when it is on.
bool link_may_be_planted(const FileFacts& link, const std::string& folder) {
    FileFacts info;
    if (facts_at(folder, Links::Follow, info) != 0) {
        return true;
    }
    const bool shared = (info.permissions & kGroupOrOthersWrite) != 0;
    return shared && link.owner != effective_user() && link.owner != kRootUser;
}

std::string link_destination(const std::string& link, const std::string& target) {
    std::string destination;
    if (const int error = read_link(link, destination); error != 0) {
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(error));
    }
    if (destination.empty() || destination.front() == '/') {
        return destination;
    }
    return folder_of(link) + "/" + destination;
}

} // namespace

ReplaceTarget find_replace_target(const std::string& target, NotOrdinaryTarget not_ordinary) {
    std::string path = target;
    for (int links = 0;; ++links) {
        FileFacts info;
        if (const int error = facts_at(path, Links::Look, info); error != 0) {
            if (error == ENOENT) {
                return ReplaceTarget{path};
            }
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(error));
        }
        if (info.type == FileType::Link) {
            if (links == kMostLinks) {
                throw KvalonError(ErrorKind::FileWrite, target, system_reason(ELOOP));
            }
            if (link_may_be_planted(info, folder_of(path))) {
                throw KvalonError(ErrorKind::FileWrite, target, messages::kForeignLink);
            }
            path = link_destination(path, target);
            continue;
        }
        if (info.type == FileType::Folder) {
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(EISDIR));
        }
        if (info.type != FileType::Regular) {
            if (not_ordinary == NotOrdinaryTarget::Refuse) {
                throw KvalonError(ErrorKind::NotRegularFile, target);
            }
            return ReplaceTarget{target};
        }
        return ReplaceTarget{path, true, info.permissions, info.owner, info.group};
    }
}

// Root replacing a user's report must not hand it to root; a user replacing a
// file of a group they are not in cannot keep that group, and then must not
// open the file to their own group.
int give_replaced_attributes(int fd, const ReplaceTarget& target) {
    if (!target.exists) {
        return set_permissions(fd, kNewFileBits & ~current_umask());
    }
    unsigned mode = target.mode;
    FileFacts made;
    if (const int error = facts_of(fd, made); error != 0) {
        return error;
    }
    if ((made.owner != target.owner || made.group != target.group) &&
        set_owner(fd, target.owner, target.group) != 0 && made.group != target.group &&
        set_group(fd, target.group) != 0) {
        mode &= ~kGroupBits;
    }
    return set_permissions(fd, mode);
}

} // namespace kvalon
