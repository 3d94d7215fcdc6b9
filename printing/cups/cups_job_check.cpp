#include "printing/cups/cups_job_check.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/signal_cleanup.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/printer_trouble.h"

#include <cups/cups.h>

#include <cstring>
#include <thread>
#include <vector>

namespace kvalon {

namespace {

constexpr const char* kStopped = "5"; // IPP printer-state "stopped"
constexpr auto kPollInterval = std::chrono::milliseconds(250);

bool option_is(const cups_dest_t& dest, const char* name, const char* value) {
    const char* found = cupsGetOption(name, dest.num_options, dest.options);
    return found != nullptr && std::strcmp(found, value) == 0;
}

std::string text_of(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_TEXT);
    const char* text = attribute != nullptr ? ippGetString(attribute, 0, nullptr) : nullptr;
    return text != nullptr ? text : "";
}

std::vector<std::string> keywords_of(ipp_t* response, const char* name) {
    std::vector<std::string> keywords;
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_KEYWORD);
    const int count = attribute != nullptr ? ippGetCount(attribute) : 0;
    for (int i = 0; i < count; ++i) {
        if (const char* keyword = ippGetString(attribute, i, nullptr)) {
            keywords.emplace_back(keyword);
        }
    }
    return keywords;
}

int enum_of(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ENUM);
    return attribute != nullptr ? ippGetInteger(attribute, 0) : 0;
}

std::optional<std::string> ended_reason(int job_state) {
    switch (job_state) {
    case IPP_JSTATE_ABORTED:
        return messages::kJobAborted;
    case IPP_JSTATE_CANCELED:
        return messages::kJobCancelled;
    case IPP_JSTATE_STOPPED:
        return messages::kJobStopped;
    default:
        return std::nullopt;
    }
}

// Asks for one object's attributes; nothing when the service gave no answer.
ipp_t* ask(const CupsConnection& connection, ipp_op_t operation, const char* uri_name,
           const std::string& uri, int job_id, const char* const* attributes, int count) {
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uri_name, nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    if (job_id > 0) {
        ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job_id);
    }
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count,
                  nullptr, attributes);
    ipp_t* response = cupsDoRequest(connection.get(), request, "/");
    if (!connection.answered()) {
        ippDelete(response);
        return nullptr;
    }
    return response;
}

JobLook look_at(const CupsConnection& connection, const std::string& queue, int job_id) {
    static const char* const job_attributes[] = {"job-state", "job-printer-state-message",
                                                 "job-state-reasons"};
    static const char* const printer_attributes[] = {"printer-state", "printer-state-message",
                                                     "printer-state-reasons"};
    JobLook look;
    const std::string uri = printer_uri(queue);
    ipp_t* job =
        ask(connection, IPP_OP_GET_JOB_ATTRIBUTES, "printer-uri", uri, job_id, job_attributes, 3);
    ipp_t* printer = job == nullptr ? nullptr
                                    : ask(connection, IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri",
                                          uri, 0, printer_attributes, 3);
    if (job != nullptr && printer != nullptr) {
        look.answered = true;
        look.job_state = enum_of(job, "job-state");
        look.printer_stopped = enum_of(printer, "printer-state") == IPP_PSTATE_STOPPED;
        std::string message = text_of(job, "job-printer-state-message");
        if (message.empty()) {
            message = text_of(printer, "printer-state-message");
        }
        const auto job_reasons = keywords_of(job, "job-state-reasons");
        const auto printer_reasons = keywords_of(printer, "printer-state-reasons");
        look.printer_message = printer_trouble(message, job_reasons, printer_reasons,
                                               ended_reason(look.job_state).has_value());
        look.failure_words = printer_trouble(message, job_reasons, printer_reasons, true);
    }
    ippDelete(job);
    ippDelete(printer);
    return look;
}

// Our reason first; the printer's own words, in whatever language it speaks,
// quoted after it.
std::string failure_reason(const std::string& reason, const std::string& printer_message) {
    if (printer_message.empty()) {
        return reason;
    }
    return reason + messages::kPrinterSays + printer_message + messages::kPrinterSaysEnd;
}

JobOutcome failed(const std::string& reason) {
    return JobOutcome{JobOutcome::State::Failed, reason};
}

JobOutcome ended_as(JobOutcome::State state) {
    return JobOutcome{state, {}};
}

} // namespace

std::optional<std::string> queue_refusal(const std::string& queue) {
    std::optional<CupsConnection> connection;
    try {
        connection.emplace();
    } catch (const KvalonError&) {
        return messages::kServiceSilent;
    }
    cups_dest_t* dest = cupsGetNamedDest(connection->get(), queue.c_str(), nullptr);
    if (dest == nullptr) {
        return connection->answered() ? messages::kNoSuchQueue : messages::kServiceSilent;
    }
    std::optional<std::string> refusal;
    if (option_is(*dest, "printer-state", kStopped)) {
        refusal = messages::kQueueStopped;
    } else if (option_is(*dest, "printer-is-accepting-jobs", "false")) {
        refusal = messages::kQueueRejects;
    }
    cupsFreeDests(1, dest);
    return refusal;
}

JobOutcome follow_job(const std::string& queue, int job_id,
                      std::chrono::steady_clock::time_point deadline,
                      const std::function<bool(const JobLook&)>& on_look, bool paused_queue_waits) {
    try {
        for (;;) {
            if (deferred_signal() != 0) {
                return ended_as(JobOutcome::State::SignalKept);
            }
            const CupsConnection connection;
            const JobLook look = look_at(connection, queue, job_id);
            if (!look.answered) {
                return ended_as(JobOutcome::State::ServiceSilent);
            }
            if (look.job_state == IPP_JSTATE_COMPLETED) {
                return ended_as(JobOutcome::State::Completed);
            }
            if (const auto reason = ended_reason(look.job_state)) {
                JobOutcome outcome = failed(failure_reason(*reason, look.failure_words));
                if (look.job_state == IPP_JSTATE_CANCELED) {
                    outcome.state = JobOutcome::State::Cancelled;
                }
                return outcome;
            }
            if (look.printer_stopped && !paused_queue_waits) {
                cupsCancelJob2(connection.get(), queue.c_str(), job_id, 0);
                return failed(failure_reason(messages::kQueueStopped, look.failure_words));
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return ended_as(JobOutcome::State::StillWaiting);
            }
            if (on_look && !on_look(look)) {
                return ended_as(JobOutcome::State::Unwatched);
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    } catch (const KvalonError&) {
        return ended_as(JobOutcome::State::ServiceSilent);
    }
}

bool cancel_job(const std::string& queue, int job_id) noexcept {
    try {
        const CupsConnection connection;
        cupsCancelJob2(connection.get(), queue.c_str(), job_id, 0);
        return connection.answered();
    } catch (...) {
        return false;
    }
}

} // namespace kvalon
