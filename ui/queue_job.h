#pragma once

#include "printing/destination.h"
#include "printing/document_sink.h"
#include "printing/page_description.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kvalon {

class WindowServices;

// The pages of one print action for a printer and where they go.
struct QueueDocument {
    std::shared_ptr<const Destination> destination;
    DocumentInfo info; // the job's title, copies and planned paper
    std::vector<PageDescription> pages;
};

// What becomes of a print action, told on the windows' thread as it happens.
struct QueueJobEvents {
    std::function<void(const std::string&)> progressed; // for the status line
    std::function<void(const std::string&)> failed;     // the whole message
    std::function<void()> ended;                        // last
};

// One print action's pages on their way to a printer: made into a job by the
// destination's own page sink, sent and followed on a thread of its own, so
// that the windows never wait for the print service. What becomes of it is
// told through `services` as it happens: progressed() with the job's state
// and the printer's own words as they change, failed() when the job ends
// without printing, and ended() last. The thread has the pages it was given
// and never touches the job record or the windows.
class QueueJob {
public:
    QueueJob(QueueDocument document, WindowServices& services, QueueJobEvents events);
    // Stops following at once and tells nothing more; a document still being
    // sent is sent whole first, so that nothing the user printed is lost.
    ~QueueJob();
    QueueJob(const QueueJob&) = delete;
    QueueJob& operator=(const QueueJob&) = delete;

    // ended() has been told.
    bool has_ended() const;

private:
    struct Mailbox;
    static void run(const std::shared_ptr<Mailbox>& mailbox, QueueDocument document);

    std::shared_ptr<Mailbox> m_mailbox;
    std::thread m_thread;
};

} // namespace kvalon
