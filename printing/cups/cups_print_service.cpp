#include "printing/cups/print_service.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/cups/cups_request_output.h"
#include "printing/cups/destination_info.h"

#include <cups/cups.h>

namespace kvalon {

namespace {

// The options of a job, freed on every path.
class CupsOptionList {
public:
    explicit CupsOptionList(const JobOptions& options) {
        for (const JobOption& option : options) {
            m_count = cupsAddOption(option.name.c_str(), option.value.c_str(), m_count, &m_options);
        }
    }
    ~CupsOptionList() { cupsFreeOptions(m_count, m_options); }
    CupsOptionList(const CupsOptionList&) = delete;
    CupsOptionList& operator=(const CupsOptionList&) = delete;

    int count() const { return m_count; }
    cups_option_t* options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

std::optional<MediaMargins> margins_of(const DestinationInfo& destination,
                                       const OwnJobSettings& own) {
    if (own.media.empty()) {
        return std::nullopt;
    }
    if (const std::optional<DestinationMedia> media = destination.media(own.media)) {
        return media->margins;
    }
    return std::nullopt;
}

// Create-Job as libcups's cupsCreateJob sends it, without the two questions
// about the queue it asks first (one of them for the queue's whole
// description): the queue has just been asked. The job's id, 0 when refused.
int create_job_on(http_t* http, const std::string& queue, const std::string& title,
                  const CupsOptionList& options) {
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(queue).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    cupsEncodeOptions2(request, options.count(), options.options(), IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, options.count(), options.options(), IPP_TAG_JOB);
    ipp_t* response = cupsDoRequest(http, request, ("/printers/" + queue).c_str());
    ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER);
    const int job_id =
        cupsLastError() <= IPP_STATUS_OK_CONFLICTING && id != nullptr ? ippGetInteger(id, 0) : 0;
    ippDelete(response);
    return job_id;
}

class CupsJobRequest final : public JobRequest {
public:
    explicit CupsJobRequest(std::string queue) : m_queue(std::move(queue)) {}

    int create_job(const std::string& title, const JobOptions& options) override {
        m_job_id = create_job_on(m_connection.get(), m_queue, title, CupsOptionList(options));
        return m_job_id;
    }
    bool start_document(const std::string& title, const char* format) override {
        if (cupsStartDocument(m_connection.get(), m_queue.c_str(), m_job_id, title.c_str(), format,
                              1) != HTTP_STATUS_CONTINUE) {
            return false;
        }
        m_output.emplace(m_connection, m_queue);
        return true;
    }
    std::string refusal() const override { return service_reason(cupsLastError()); }
    ByteOutput& document() override { return *m_output; }
    // The end is written without asking for the answer, which the print
    // service may never send.
    bool hand_over() override {
        http_t* http = m_connection.get();
        m_connection.restart_clock();
        return httpWrite2(http, "", 0) >= 0 && httpError(http) == 0;
    }
    std::optional<std::string> answer() override {
        m_connection.restart_clock();
        const ipp_status_t status = cupsFinishDocument(m_connection.get(), m_queue.c_str());
        if (!m_connection.answered()) {
            return std::nullopt;
        }
        return status > IPP_STATUS_OK_CONFLICTING ? service_reason(status) : std::string();
    }

private:
    std::string m_queue;
    CupsConnection m_connection;
    std::optional<CupsRequestOutput> m_output;
    int m_job_id = 0;
};

class CupsPrintService final : public PrintService {
public:
    std::optional<std::string> queue_refusal(const std::string& queue) override {
        return kvalon::queue_refusal(queue);
    }
    JobTerms job_terms(const CupsJobSettings& settings, const OwnJobSettings& own) override {
        const std::shared_ptr<const DestinationInfo> destination =
            settings.destination != nullptr
                ? settings.destination
                : std::make_shared<const DestinationInfo>(settings.queue);
        return {job_options(*destination, settings.options, own), margins_of(*destination, own)};
    }
    JobTerms shown_terms(const CupsJobSettings& settings, const OwnJobSettings& own) override {
        const DestinationInfo destination(settings.queue);
        return {notable_options(destination, job_options(destination, settings.options, own)),
                margins_of(destination, own)};
    }
    std::unique_ptr<JobRequest> open_request(const std::string& queue) override {
        return std::make_unique<CupsJobRequest>(queue);
    }
    JobOutcome follow_job(const std::string& queue, int job_id,
                          std::chrono::steady_clock::time_point deadline,
                          const std::function<bool(const JobLook&)>& on_look,
                          bool paused_queue_waits) override {
        return kvalon::follow_job(queue, job_id, deadline, on_look, paused_queue_waits);
    }
    bool cancel_job(const std::string& queue, int job_id) noexcept override {
        return kvalon::cancel_job(queue, job_id);
    }
};

} // namespace

std::shared_ptr<PrintService> cups_print_service() {
    static const std::shared_ptr<PrintService> service = std::make_shared<CupsPrintService>();
    return service;
}

} // namespace kvalon
