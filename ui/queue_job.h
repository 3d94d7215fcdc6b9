#pragma once

#include "printing/cups/cups_job_sink.h"
#include "printing/document_sink.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <thread>

class QTemporaryDir;

namespace kvalon {

// A finished document for a CUPS queue and how to send it.
struct QueueDocument {
    CupsJobSettings settings; // the queue, the paper, how long the job is followed
    DocumentInfo info;        // the job's title and copies
    std::string path;         // the document (PDF)
};

// One print action's document on its way to a CUPS queue: sent and followed
// on a thread of its own, so that the windows never wait for the print
// service. What becomes of it is told as it happens: progressed() for the
// status line (the job's state and the printer's own words as they change),
// failed() with the whole message when the job ends without printing, and
// ended() last. The thread never touches the job record or the windows.
class QueueJob final : public QObject {
    Q_OBJECT
public:
    // `folder` holds the document; it goes with the job.
    QueueJob(QueueDocument document, std::unique_ptr<QTemporaryDir> folder,
             QObject* parent = nullptr);
    // Stops following at once and tells nothing more; a document still being
    // sent is sent whole first, so that nothing the user printed is lost.
    ~QueueJob() override;
    QueueJob(const QueueJob&) = delete;
    QueueJob& operator=(const QueueJob&) = delete;

signals:
    void progressed(const QString& text);
    void failed(const QString& message);
    void ended();

private:
    struct Mailbox;
    static void run(const std::shared_ptr<Mailbox>& mailbox, const QueueDocument& document);

    std::shared_ptr<Mailbox> m_mailbox;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::thread m_thread;
};

} // namespace kvalon
