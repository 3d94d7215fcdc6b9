#include "printing/cups/queue_list.h"

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

std::string full_name(const cups_dest_t& dest) {
    return dest.instance != nullptr ? std::string(dest.name) + "/" + dest.instance
                                    : std::string(dest.name);
}

// The default may be an instance ("lpoptions -d Office/duplex"): its
// options come with it.
std::string default_of(const CupsDestinations& dests) {
    if (const cups_dest_t* dest = dests.default_destination()) {
        return full_name(*dest);
    }
    return dests.count() > 0 ? std::string(dests.begin()->name) : std::string();
}

// A queue asked for by its exact name, or the user's default destination
// (LPDEST, PRINTER, lpoptions, the server's default) when `name` is empty: a
// short question where the whole list would be a long answer. Empty when the
// question does not settle it: no such queue (or one whose name differs in
// letter case), an instance, which only the whole list holds, or a default
// that names nothing. Throws KvalonError(PrintServiceSilent) when the
// service does not answer.
std::string named_destination(const std::string& name) {
    const DestinationName wanted = split_destination(name);
    if (!wanted.instance.empty()) {
        return {};
    }
    const CupsConnection connection;
    cups_dest_t* dest =
        cupsGetNamedDest(connection.get(), name.empty() ? nullptr : wanted.queue.c_str(), nullptr);
    if (dest == nullptr) {
        if (!connection.answered()) {
            throw KvalonError(ErrorKind::PrintServiceSilent, print_service_name());
        }
        return {};
    }
    std::string found = full_name(*dest);
    if (!name.empty() && found != name) {
        found.clear();
    }
    cupsFreeDests(1, dest);
    return found;
}

} // namespace

std::vector<std::string> cups_queue_names() {
    return names_of(CupsDestinations());
}

// A queue found by name or as the default is asked for alone; only without
// one is the list of queues fetched.
PrinterChoice choose_queue(QueueSettings settings, int copies) {
    PrinterChoice choice;
    const std::string asked = settings.queue;
    settings.queue = named_destination(asked);
    if (!settings.queue.empty()) {
        return {1, std::make_shared<QueueDestination>(std::move(settings), copies)};
    }
    const CupsDestinations dests;
    const std::vector<std::string> queues = names_of(dests.answered());
    choice.printer_count = static_cast<int>(queues.size());
    if (queues.empty()) {
        return choice;
    }
    if (!asked.empty()) {
        if (!dests.has(split_destination(asked))) {
            throw KvalonError(ErrorKind::Printer, asked, messages::kNoSuchQueue);
        }
        settings.queue = asked;
    } else {
        // A default that names no queue: the first queue prints.
        settings.queue = default_of(dests);
    }
    choice.destination = std::make_shared<QueueDestination>(std::move(settings), copies);
    return choice;
}

namespace {

class CupsPrinters final : public SystemPrinters {
public:
    std::vector<std::string> names() const override { return cups_queue_names(); }
    PrinterChoice choose(const PrinterRequest& request) const override {
        QueueSettings settings;
        settings.queue = request.printer;
        settings.job_wait_seconds = request.job_wait_seconds;
        return choose_queue(std::move(settings), request.copies);
    }
    std::shared_ptr<const Destination> picked(const Destination* bound,
                                              const std::string& name) const override {
        return queue_after(bound, name);
    }
    std::shared_ptr<const Destination> restore(const RememberedPrinter& remembered) const override {
        return restore_queue(remembered);
    }
};

} // namespace

const SystemPrinters& cups_printers() {
    static const CupsPrinters printers;
    return printers;
}

} // namespace kvalon
