#pragma once

#include <functional>
#include <string>

namespace kvalon {

// Where a printer port's jobs wait, in the user's own state folder
// ($XDG_STATE_HOME/kvalon-p/port, else ~/.local/state/kvalon-p/port), which
// only the user may enter: spool/ holds each job from its first byte until it
// printed, and failed/ beside it keeps the bytes of a job that did not print,
// with a `.reason` text beside each, as a watched folder keeps its own.
class PortSpool {
public:
    // Throws KvalonError(FileWrite) naming the folder that cannot be made.
    PortSpool();

    // The jobs a listener killed outright left in spool/ unprinted go into
    // failed/, each told by `tell` with where it is now: the next job's
    // file would otherwise remove them as that run's leftovers.
    void keep_left_jobs(const std::function<void(const std::string&)>& tell) const;

    const std::string& spool() const { return m_spool; }
    const std::string& failed() const { return m_failed; }

    // Moves the job at `spooled` into failed/ beside `reason`: where it is
    // now. A job that cannot be moved stays where it is, and that is told.
    std::string keep_failed(const std::string& spooled, const std::string& reason) const;

private:
    std::string m_spool;
    std::string m_failed;
};

} // namespace kvalon
