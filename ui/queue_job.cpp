#include "ui/queue_job.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "ui/window_services.h"

#include <atomic>

namespace kvalon {

// What the thread hands to the windows' side, while there is one to take it.
// `events` and `ended` are touched on the windows' thread only.
struct QueueJob::Mailbox {
    explicit Mailbox(WindowServices& window_services, QueueJobEvents job_events)
        : services(window_services), events(std::move(job_events)) {}

    WindowServices& services;
    QueueJobEvents events;
    bool ended = false;
    std::atomic<bool> stopping{false};

    void post(std::function<void(Mailbox&)> deliver, const std::shared_ptr<Mailbox>& self) {
        services.post([self, deliver = std::move(deliver)] {
            if (!self->stopping) {
                deliver(*self);
            }
        });
    }
};

namespace {

// The job as the status line tells it: its title, the printer and its state,
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
        if (look.queue_paused) {
            text += messages::kQueuePaused;
        }
        if (!look.printer_message.empty()) {
            text += messages::kPrinterSays + look.printer_message + messages::kPrinterSaysEnd;
        }
        return text;
    }

private:
    std::string m_prefix;
};

} // namespace

QueueJob::QueueJob(QueueDocument document, WindowServices& services, QueueJobEvents events)
    : m_mailbox(std::make_shared<Mailbox>(services, std::move(events))) {
    m_thread = std::thread([mailbox = m_mailbox, document = std::move(document)]() mutable {
        run(mailbox, std::move(document));
    });
}

QueueJob::~QueueJob() {
    m_mailbox->stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool QueueJob::has_ended() const {
    return m_mailbox->ended;
}

void QueueJob::run(const std::shared_ptr<Mailbox>& mailbox, QueueDocument document) {
    const auto progress = [&mailbox](const std::string& text) {
        mailbox->post([text](Mailbox& box) { box.events.progressed(text); }, mailbox);
    };
    const auto end = [&mailbox] {
        mailbox->post(
            [](Mailbox& box) {
                box.ended = true;
                box.events.ended();
            },
            mailbox);
    };
    const Status status(document);
    progress(status(messages::kJobSending));
    std::string shown;
    const JobWatch watch = [&](const JobProgress& look) {
        if (mailbox->stopping) {
            return false;
        }
        if (std::string text = status(look); text != shown) {
            shown = text;
            progress(text);
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
        progress(status(messages::kJobNotPrinted));
        const std::string message = message_for(error);
        mailbox->post([message](Mailbox& box) { box.events.failed(message); }, mailbox);
        end();
        return;
    }
    if (mailbox->stopping) {
        return;
    }
    // Followed to its end, or as far as it could be (the sink told the user why).
    const std::string unconfirmed = sink->unconfirmed();
    progress(unconfirmed.empty() ? status(messages::kJobPrinted) : unconfirmed);
    end();
}

} // namespace kvalon
