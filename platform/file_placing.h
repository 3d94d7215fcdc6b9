#pragma once

#include "platform/file_facts.h"
#include "platform/owned_fd.h"

#include <cstddef>
#include <string>

namespace kvalon {

// The longest name one entry of a folder may have.
std::size_t longest_file_name();

// A new file made exclusively from `name_template` (ending in XXXXXX, which
// the system fills in): never an existing file, never through a link, only
// we may read it. 0 with the file open and `name_template` its name, or the
// errno.
int make_exclusive_file(std::string& name_template, OwnedFd& file);

// Removes `path` when it still names the file `identity` tells (device and
// number), so a name someone else has taken over is left alone.
void remove_if_same(const std::string& path, const FileIdentity& identity);

// Puts `from` in place of `to` in one step: 0 or the errno.
int rename_into_place(const std::string& from, const std::string& to);

// Gives the open file these permission bits (0644): 0 or the errno.
int set_permissions(int fd, unsigned permissions);
// Gives the open file an owner and a group: 0 or the errno.
int set_owner(int fd, unsigned owner, unsigned group);
// Gives the open file a group, its owner kept: 0 or the errno.
int set_group(int fd, unsigned group);

} // namespace kvalon
