#include "startup/watch/port_listener.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/messages.h"
#include "platform/folder_events.h"
#include "platform/port_source.h"
#include "platform/signal_cleanup.h"
#include "platform/spool_files.h"
#include "startup/watch/folder_watcher.h"
#include "startup/watch/job_log.h"
#include "startup/watch/spooled_job.h"

#include <array>
#include <chrono>
#include <memory>
#include <optional>

namespace kvalon {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kQuietLook = 1000; // milliseconds between looks at a quiet port

OwnedFd open_source(const PortAddress& port, int& error) {
    switch (port.kind) {
    case PortAddress::Kind::Pipe:
        return open_port_pipe(port.path, error);
    case PortAddress::Kind::LocalSocket:
        return listen_on_local_socket(port.path, error);
    case PortAddress::Kind::Tcp:
        return listen_on_tcp(port.address, port.port, error);
    }
    return OwnedFd();
}

} // namespace

// The source, the connection being read and the job being spooled.
class PortListener::Reading {
public:
    Reading(const ListenSettings& listen, PortListener& owner, std::string spool)
        : m_owner(owner), m_spool(std::move(spool)) {
        const std::optional<PortAddress> port = parse_port_address(listen.source);
        int error = 0;
        if (port) {
            m_streamed = port->kind == PortAddress::Kind::Pipe;
            m_source = open_source(*port, error);
        }
        if (!m_source.valid()) {
            throw KvalonError(ErrorKind::CommandLine, "--listen " + listen.source,
                              port ? system_reason(error) : std::string());
        }
        m_idle = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(listen.idle_seconds));
    }

    // Waits for bytes, a connection or `stop`, at most until the job in hand
    // has been idle long enough; reads what came.
    void step(int stop) {
        const int reading = m_streamed ? m_source.get() : m_connection.get();
        const int waited_on = reading >= 0 ? reading : m_source.get();
        const int ready = wait_readable({waited_on, stop}, milliseconds_left());
        if (ready == 0 && reading < 0) {
            int error = 0;
            m_connection = accept_connection(m_source.get(), error);
        } else if (ready == 0) {
            read_from(reading);
        }
        if (m_job && Clock::now() - m_last_byte >= m_idle) {
            cut();
        }
    }

    // Hands the job in hand, if any, to the printer.
    void cut() {
        if (!m_job) {
            return;
        }
        m_job->close();
        m_job->keep();
        const std::string path = m_job->path();
        m_job.reset();
        m_owner.hand_to_printer(path);
    }

private:
    int milliseconds_left() const {
        if (!m_job) {
            return kQuietLook;
        }
        const auto left = m_last_byte + m_idle - Clock::now();
        return std::max(
            0,
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()) +
                1);
    }

    void read_from(int fd) {
        std::array<char, 65536> buffer;
        for (;;) {
            int error = 0;
            const long got = read_available(fd, buffer.data(), buffer.size(), error);
            if (got < 0 && got != -2) {
                return; // all there was
            }
            if (got <= 0) {
                // The writer's connection ended (or broke): so did its job.
                cut();
                m_connection.reset();
                return;
            }
            if (!m_job) {
                m_job = std::make_unique<TemporaryFile>(m_spool, "job-", messages::kPortJob);
            }
            m_job->write_all(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
            m_last_byte = Clock::now();
        }
    }

    PortListener& m_owner;
    std::string m_spool;
    OwnedFd m_source;
    OwnedFd m_connection;
    bool m_streamed = false;
    Clock::duration m_idle{};
    std::unique_ptr<TemporaryFile> m_job;
    Clock::time_point m_last_byte;
};

PortListener::PortListener(ListenSettings listen, JobSettings job)
    : m_listen(std::move(listen)), m_job(std::move(job)) {
    m_reading = std::make_unique<Reading>(m_listen, *this, m_spool.spool());
    if (m_job.pdf_folder) {
        if (const int error = make_folder(*m_job.pdf_folder); error != 0) {
            throw KvalonError(ErrorKind::FileWrite, *m_job.pdf_folder, system_reason(error));
        }
    }
}

PortListener::~PortListener() {
    finish_printing();
}

void PortListener::hand_to_printer(std::string spooled) {
    {
        const std::lock_guard<std::mutex> held(m_lock);
        m_spooled.push_back(std::move(spooled));
    }
    m_waiting.notify_one();
}

void PortListener::print_jobs() {
    for (;;) {
        std::string spooled;
        {
            std::unique_lock<std::mutex> held(m_lock);
            m_waiting.wait(held, [this] { return m_closing || !m_spooled.empty(); });
            if (m_spooled.empty()) {
                return;
            }
            spooled = std::move(m_spooled.front());
            m_spooled.pop_front();
        }
        const std::string name = messages::kPortJob + std::to_string(++m_jobs);
        std::string target;
        if (m_job.pdf_folder) {
            target = *m_job.pdf_folder + "/" + free_name_in(*m_job.pdf_folder, "port.pdf");
        }
        const SpooledJobResult result = print_spooled_job(m_job, spooled, target);
        std::optional<std::string> placed;
        if (result.printed) {
            remove_file(spooled);
        } else {
            placed = m_spool.keep_failed(spooled, result.reason);
        }
        log_job(name, result, target.empty() ? m_job.printer_shown : target, placed);
    }
}

void PortListener::finish_printing() {
    {
        const std::lock_guard<std::mutex> held(m_lock);
        m_closing = true;
    }
    m_waiting.notify_one();
    if (m_printer.joinable()) {
        m_printer.join();
    }
}

void PortListener::run() {
    EndingSignalHandOver hand_over;
    Reading& reading = *m_reading;
    m_printer = std::thread([this] { print_jobs(); });
    log_line(messages::kListening + shown_in_log(m_listen.source));
    m_spool.keep_left_jobs([](const std::string& placed) {
        log_line(messages::kPortJobLeftUnprinted + messages::kJobMovedTo + shown_in_log(placed));
    });
    int signal_number = 0;
    while ((signal_number = hand_over.taken_signal()) == 0) {
        reading.step(hand_over.fd());
    }
    reading.cut();
    finish_printing();
    end_by_signal(signal_number);
}

} // namespace kvalon
