#pragma once

#include "startup/watch/port_spool.h"
#include "startup/watch/watch_settings.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kvalon {

class EndingSignalHandOver;

// Cuts a printer port's endless stream into jobs: a job ends when the port
// has been quiet for the idle time, or when its writer's connection ends.
// Each job is written into a file of the port's spool as it arrives and
// printed from there by a printer of its own (a thread), so the writer is
// read on while a slow printer works, and no byte falls between two jobs; a
// job that fails is kept in the spool's failed/ folder.
class PortListener {
public:
    // Throws KvalonError(CommandLine) for a source that cannot be opened.
    PortListener(ListenSettings listen, JobSettings job);
    ~PortListener();
    PortListener(const PortListener&) = delete;
    PortListener& operator=(const PortListener&) = delete;

    // Reads and prints until an ending signal; then the job coming in is cut
    // where it is, every job spooled is printed, and the program ends by the
    // signal.
    [[noreturn]] void run();

private:
    class Reading;
    PortSpool m_spool;
    std::unique_ptr<Reading> m_reading;

    void hand_to_printer(std::string spooled);
    void print_jobs();
    void finish_printing();

    ListenSettings m_listen;
    JobSettings m_job;
    std::mutex m_lock;
    std::condition_variable m_waiting;
    std::deque<std::string> m_spooled;
    bool m_closing = false;
    int m_jobs = 0;
    std::thread m_printer;
};

} // namespace kvalon
