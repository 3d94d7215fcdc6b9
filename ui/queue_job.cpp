#include "ui/queue_job.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "printing/cups/cups_file_job.h"
#include "printing/cups/cups_job_check.h"

#include <QMetaObject>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>

namespace kvalon {

// What the thread hands to the window side, while there is one to take it.
struct QueueJob::Mailbox {
    std::mutex mutex;
    QueueJob* job = nullptr;
    std::atomic<bool> stopping{false};

    void post(std::function<void(QueueJob&)> deliver) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (job != nullptr) {
            QueueJob* receiver = job;
            QMetaObject::invokeMethod(
                receiver, [receiver, deliver = std::move(deliver)] { deliver(*receiver); },
                Qt::QueuedConnection);
        }
    }
    void progress(const std::string& text) {
        post(
            [text](QueueJob& receiver) { emit receiver.progressed(QString::fromStdString(text)); });
    }
};

namespace {

// IPP job states as the status line names them.
const std::string& state_word(int job_state) {
    switch (job_state) {
    case 4: // held
        return messages::kJobHeld;
    case 5: // processing
        return messages::kJobPrinting;
    default:
        return messages::kJobWaiting;
    }
}

class Status {
public:
    explicit Status(const QueueDocument& document)
        : m_prefix(document.info.title + messages::kOnQueue + document.settings.queue + ": ") {}

    std::string operator()(const std::string& state) const { return m_prefix + state; }
    std::string operator()(const JobLook& look) const {
        std::string text = m_prefix + state_word(look.job_state);
        if (!look.printer_message.empty()) {
            text += messages::kPrinterSays + look.printer_message + messages::kPrinterSaysEnd;
        }
        return text;
    }

private:
    std::string m_prefix;
};

} // namespace

QueueJob::QueueJob(QueueDocument document, std::unique_ptr<QTemporaryDir> folder, QObject* parent)
    : QObject(parent), m_mailbox(std::make_shared<Mailbox>()), m_folder(std::move(folder)) {
    m_mailbox->job = this;
    m_thread = std::thread(
        [mailbox = m_mailbox, document = std::move(document)] { run(mailbox, document); });
}

QueueJob::~QueueJob() {
    {
        const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
        m_mailbox->job = nullptr;
    }
    m_mailbox->stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void QueueJob::run(const std::shared_ptr<Mailbox>& mailbox, const QueueDocument& document) {
    const Status status(document);
    const std::string& queue = document.settings.queue;
    mailbox->progress(status(messages::kJobSending));
    int job_id = 0;
    try {
        job_id = send_finished_document(document.settings, document.info, document.path);
    } catch (const KvalonError& error) {
        mailbox->progress(status(messages::kJobNotPrinted));
        const std::string message = message_for(error);
        mailbox->post(
            [message](QueueJob& job) { emit job.failed(QString::fromStdString(message)); });
        mailbox->post([](QueueJob& job) { emit job.ended(); });
        return;
    }
    std::string shown;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(document.settings.wait_seconds);
    const JobOutcome outcome = follow_job(queue, job_id, deadline, [&](const JobLook& look) {
        if (mailbox->stopping) {
            return false;
        }
        if (const std::string text = status(look); text != shown) {
            shown = text;
            mailbox->progress(text);
        }
        return true;
    });
    if (mailbox->stopping) {
        return;
    }
    switch (outcome.state) {
    case JobOutcome::State::Completed:
        mailbox->progress(status(messages::kJobPrinted));
        break;
    case JobOutcome::State::Failed: {
        mailbox->progress(status(messages::kJobNotPrinted));
        const std::string message =
            message_for(KvalonError(ErrorKind::Printer, queue, outcome.reason));
        mailbox->post(
            [message](QueueJob& job) { emit job.failed(QString::fromStdString(message)); });
        break;
    }
    case JobOutcome::State::StillWaiting:
        mailbox->progress(messages::kStoppedWatching + queue + messages::kStoppedWatchingAfter +
                          std::to_string(document.settings.wait_seconds) +
                          messages::kStoppedWatchingNotYetPrinted);
        break;
    }
    mailbox->post([](QueueJob& job) { emit job.ended(); });
}

} // namespace kvalon
