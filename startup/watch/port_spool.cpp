#include "startup/watch/port_spool.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/spool_files.h"
#include "platform/temporary_name.h"
#include "startup/watch/folder_watcher.h"

#include <cerrno>
#include <cstdlib>

namespace kvalon {

namespace {

// A relative or empty XDG_STATE_HOME counts as unset, as the convention says.
std::string state_folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return state;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        throw KvalonError(ErrorKind::FileWrite, "$HOME/.local/state", system_reason(ENOENT));
    }
    return std::string(home) + "/.local/state";
}

// Every folder on the way is made as the user's; the last ones only the
// user may enter, for a report's bytes are nobody else's.
std::string made(const std::string& path, bool owner_only) {
    const int error = owner_only ? make_owner_only_folder(path) : make_folder(path);
    if (error != 0) {
        throw KvalonError(ErrorKind::FileWrite, path, system_reason(error));
    }
    return path;
}

} // namespace

PortSpool::PortSpool() {
    const std::string state = state_folder();
    const std::string home = state.substr(0, state.rfind('/'));
    made(home, false);
    made(state, false);
    const std::string port = made(made(state + "/kvalon-p", true) + "/port", true);
    m_spool = made(port + "/spool", true);
    m_failed = made(port + "/" + kFailedFolder, true);
}

void PortSpool::keep_left_jobs(const std::function<void(const std::string&)>& tell) const {
    int error = 0;
    for (const FolderEntry& entry : list_folder(m_spool, error)) {
        if (entry.regular && made_by_a_gone_run(entry.name)) {
            tell(keep_failed(m_spool + "/" + entry.name, messages::kPortJobLeftUnprinted));
        }
    }
}

std::string PortSpool::keep_failed(const std::string& spooled, const std::string& reason) const {
    const std::string placed = m_failed + "/" + free_name_in(m_failed, "port.prn", ".reason");
    append_synced(placed + ".reason", reason + "\n");
    if (rename_no_replace(spooled, placed) != 0) {
        return spooled;
    }
    sync_folder(m_failed);
    sync_folder(m_spool);
    return placed;
}

} // namespace kvalon
