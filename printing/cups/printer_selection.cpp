#include "printing/cups/printer_selection.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/destination_info.h"

#include <cups/cups.h>

#include <algorithm>

namespace kvalon {

namespace {

// The destination list of libcups, released on every path. A print service
// that does not answer is not a machine without printers: it lists nothing
// and says so.
class CupsDestinations {
public:
    CupsDestinations() {
        try {
            const CupsConnection connection;
            m_count = cupsGetDests2(connection.get(), &m_dests);
            m_answered = connection.answered();
        } catch (const KvalonError&) {
            m_answered = false;
        }
        if (!m_answered) {
            cupsFreeDests(m_count, m_dests);
            m_dests = nullptr;
            m_count = 0;
        }
    }
    ~CupsDestinations() { cupsFreeDests(m_count, m_dests); }
    CupsDestinations(const CupsDestinations&) = delete;
    CupsDestinations& operator=(const CupsDestinations&) = delete;

    // Throws KvalonError(PrintServiceSilent) when the service gave no list.
    const CupsDestinations& answered() const {
        if (!m_answered) {
            throw KvalonError(ErrorKind::PrintServiceSilent, print_service_name());
        }
        return *this;
    }
    int count() const { return m_count; }
    cups_dest_t* begin() const { return m_dests; }
    cups_dest_t* end() const { return m_dests + m_count; }
    cups_dest_t* default_destination() const {
        return cupsGetDest(nullptr, nullptr, m_count, m_dests);
    }
    // A queue, or an instance of one the user or the system defined, by its
    // exact name.
    bool has(const DestinationName& name) const {
        return std::any_of(begin(), end(), [&name](const cups_dest_t& dest) {
            const std::string instance = dest.instance != nullptr ? dest.instance : "";
            return name.queue == dest.name && name.instance == instance;
        });
    }

private:
    cups_dest_t* m_dests = nullptr;
    int m_count = 0;
    bool m_answered = false;
};

std::vector<std::string> names_of(const CupsDestinations& dests) {
    std::vector<std::string> names;
    for (const cups_dest_t& dest : dests) {
        if (dest.instance == nullptr) {
            names.emplace_back(dest.name);
        }
    }
    return names;
}

// The default may be an instance ("lpoptions -d Office/duplex"): its
// options come with it.
std::string default_of(const CupsDestinations& dests) {
    if (const cups_dest_t* dest = dests.default_destination()) {
        return dest->instance != nullptr ? std::string(dest->name) + "/" + dest->instance
                                         : std::string(dest->name);
    }
    return dests.count() > 0 ? std::string(dests.begin()->name) : std::string();
}

} // namespace

std::vector<std::string> cups_queue_names() {
    return names_of(CupsDestinations());
}

// The PDF printer needs no print service: one that is slow or missing must not
// hold a PDF job.
int installed_printer_count(const PrinterRequest& request) {
    if (!request.pdf_path.empty()) {
        return 1;
    }
    const CupsDestinations dests;
    return static_cast<int>(names_of(dests.answered()).size());
}

std::optional<PrinterTarget> choose_target(const PrinterRequest& request) {
    PrinterTarget target;
    target.copies = request.copies;
    target.job_wait_seconds = request.job_wait_seconds;
    target.signal_cancels_followed_job = request.signal_cancels_followed_job;
    if (!request.pdf_path.empty()) {
        target.kind = PrinterTarget::Kind::Pdf;
        target.pdf_path = request.pdf_path;
        target.paper_code = request.paper_code;
        return target;
    }
    target.kind = PrinterTarget::Kind::Cups;
    target.media = request.media;
    target.job_options = request.job_options;
    const CupsDestinations dests;
    if (!request.queue.empty()) {
        if (!dests.answered().has(split_destination(request.queue))) {
            throw KvalonError(ErrorKind::Printer, request.queue, messages::kNoSuchQueue);
        }
        target.queue = request.queue;
        return target;
    }
    target.queue = default_of(dests.answered());
    if (target.queue.empty()) {
        return std::nullopt;
    }
    return target;
}

} // namespace kvalon
