#include "ui/queue_job.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/messages.h"

#include <QMetaObject>

#include <atomic>
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
    void fail(const std::string& message) {
        post([message](QueueJob& receiver) {
            emit receiver.failed(QString::fromStdString(message));
        });
    }
};

namespace {

// The job as the status line tells it: its title, the queue and its state,
// with the printer's own words when it has any.
class Status {
public:
    explicit Status(const QueueDocument& document)
        : m_prefix(document.info.title + messages::kOnQueue + document.destination->name() + ": ") {
    }

    std::string operator()(const std::string& state) const { return m_prefix + state; }
    std::string operator()(const JobProgress& look) const {
        const std::string& state = look.state == JobProgress::State::Held ? messages::kJobHeld
                                   : look.state == JobProgress::State::Printing
                                       ? messages::kJobPrinting
                                       : messages::kJobWaiting;
        std::string text = m_prefix + state;
        if (!look.printer_message.empty()) {
            text += messages::kPrinterSays + look.printer_message + messages::kPrinterSaysEnd;
        }
        return text;
    }

private:
    std::string m_prefix;
};

} // namespace

QueueJob::QueueJob(QueueDocument document, QObject* parent)
    : QObject(parent), m_mailbox(std::make_shared<Mailbox>()) {
    m_mailbox->job = this;
    m_thread = std::thread([mailbox = m_mailbox, document = std::move(document)]() mutable {
        run(mailbox, std::move(document));
    });
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

void QueueJob::run(const std::shared_ptr<Mailbox>& mailbox, QueueDocument document) {
    const Status status(document);
    mailbox->progress(status(messages::kJobSending));
    std::string shown;
    const JobWatch watch = [&](const JobProgress& look) {
        if (mailbox->stopping) {
            return false;
        }
        if (std::string text = status(look); text != shown) {
            shown = text;
            mailbox->progress(text);
        }
        return true;
    };
    std::unique_ptr<DocumentSink> sink;
    try {
        sink = document.destination->make_page_sink(watch);
        sink->begin(document.info);
        for (const PageDescription& page : document.pages) {
            sink->add_page(page);
        }
        sink->finish();
    } catch (const KvalonError& error) {
        mailbox->progress(status(messages::kJobNotPrinted));
        mailbox->fail(message_for(error));
        mailbox->post([](QueueJob& job) { emit job.ended(); });
        return;
    }
    if (mailbox->stopping) {
        return;
    }
    // Followed to its end, or as far as it could be (the sink told the user why).
    const std::string unconfirmed = sink->unconfirmed();
    mailbox->progress(unconfirmed.empty() ? status(messages::kJobPrinted) : unconfirmed);
    mailbox->post([](QueueJob& job) { emit job.ended(); });
}

} // namespace kvalon
