#pragma once

#include <string>

namespace kvalon {

// The file a new version of `target` replaces, found as cp and shell
// redirection find it: a symbolic link is followed and the file it leads to
// is replaced (the link stays), a link that leads nowhere yet is where the
// new file is made. A link in a folder others may write (group or others
// write bit, sticky or not), owned by neither us nor root, is refused and
// never followed: another user may have planted it there.
struct ReplaceTarget {
    std::string path; // the file to replace or to make
    bool exists = false;
    // Of the existing file: its permission bits, owner and group.
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
};

// What becomes of a target that is a pipe, a socket or a device (or a link
// to one). It is never opened, so it cannot hold the program.
enum class NotOrdinaryTarget {
    Refuse,         // KvalonError(NotRegularFile, target): a document goes nowhere else
    ReplaceTheName, // the name given is replaced, never what a link leads to
};

// Throws KvalonError(FileWrite, target, reason) for a folder, a refused link,
// a chain of links that does not end, or a target that cannot be looked at.
ReplaceTarget find_replace_target(const std::string& target, NotOrdinaryTarget not_ordinary);

// Gives the new version in `fd` what the file it replaces had: its owner and
// group where we may keep them, and its permission bits, never more: when the
// group cannot be kept, the group gets nothing. A new file gets read and write
// for everybody less the umask, as any program's new file does.
// Returns 0 or the errno of the failed change.
int give_replaced_attributes(int fd, const ReplaceTarget& target);

} // namespace kvalon
