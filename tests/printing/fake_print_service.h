#pragma once

#include "engine/error.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/cups/print_service.h"
#include "printing/pdf/byte_output.h"

#include <csignal>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvalon::testing {

// A print service in memory that does what its script says: a queue that
// refuses, a request refused or broken at one step, an answer that never
// comes, a job that ends one way or another. It keeps what the sink did.
class FakePrintService final : public PrintService {
public:
    struct Script {
        std::optional<std::string> queue_refusal;
        bool refuse_job = false;
        bool refuse_document = false;
        std::size_t bytes_taken = std::numeric_limits<std::size_t>::max();
        bool hand_over_fails = false;
        std::optional<std::string> answer = std::string(); // nothing: no answer in time
        JobOutcome outcome{JobOutcome::State::Completed, {}};
        // An ending signal comes while the job is followed.
        bool signal_while_followed = false;
    };

    static constexpr int kJobId = 41;
    static constexpr const char* kRefused = "refused by the fake";

    Script script;
    std::vector<CupsJobSettings> asked; // the settings each job's terms were asked with
    std::vector<JobOptions> jobs;       // the options of each job made
    std::string document;               // the bytes the service took
    bool handed_over = false;
    std::vector<int> cancelled; // job ids

    std::optional<std::string> queue_refusal(const std::string&) override {
        return script.queue_refusal;
    }
    JobTerms job_terms(const CupsJobSettings& settings, const OwnJobSettings& own) override {
        asked.push_back(settings);
        JobOptions options = settings.options;
        options.push_back({"copies", std::to_string(own.copies)});
        return {options, std::nullopt};
    }
    JobTerms shown_terms(const CupsJobSettings& settings, const OwnJobSettings& own) override {
        return job_terms(settings, own);
    }
    std::unique_ptr<JobRequest> open_request(const std::string& queue) override {
        return std::make_unique<Request>(*this, queue);
    }
    JobOutcome follow_job(const std::string&, int, std::chrono::steady_clock::time_point,
                          const std::function<bool(const JobLook&)>&, bool) override {
        if (script.signal_while_followed) {
            std::raise(SIGTERM);
            if (deferred_signal() != 0) {
                return {JobOutcome::State::SignalKept, {}};
            }
        }
        return script.outcome;
    }
    // Said on standard error too, where a death test reads it.
    bool cancel_job(const std::string&, int job_id) noexcept override {
        cancelled.push_back(job_id);
        std::fprintf(stderr, "cancelled %d\n", job_id);
        return true;
    }

private:
    class Output final : public ByteOutput {
    public:
        Output(FakePrintService& service, std::string queue)
            : m_service(service), m_queue(std::move(queue)) {}
        void write(const char* data, std::size_t size) override {
            if (m_service.document.size() + size > m_service.script.bytes_taken) {
                throw KvalonError(ErrorKind::Printer, m_queue, kRefused);
            }
            m_service.document.append(data, size);
        }
        void flush() override {}

    private:
        FakePrintService& m_service;
        std::string m_queue;
    };

    class Request final : public JobRequest {
    public:
        Request(FakePrintService& service, const std::string& queue)
            : m_service(service), m_output(service, queue) {}
        int create_job(const std::string&, const JobOptions& options) override {
            m_service.jobs.push_back(options);
            return m_service.script.refuse_job ? 0 : kJobId;
        }
        bool start_document(const std::string&, const char*) override {
            return !m_service.script.refuse_document;
        }
        std::string refusal() const override { return kRefused; }
        ByteOutput& document() override { return m_output; }
        bool hand_over() override {
            m_service.handed_over = !m_service.script.hand_over_fails;
            return m_service.handed_over;
        }
        std::optional<std::string> answer() override { return m_service.script.answer; }

    private:
        FakePrintService& m_service;
        Output m_output;
    };
};

} // namespace kvalon::testing
