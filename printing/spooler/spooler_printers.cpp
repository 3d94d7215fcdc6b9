#include "printing/spooler/spooler_printers.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/spooler/spooler_destination.h"

#include <algorithm>
#include <vector>

namespace kvalon {

namespace {

bool has(const std::vector<std::string>& printers, const std::string& name) {
    return std::find(printers.begin(), printers.end(), name) != printers.end();
}

class SpoolerPrinters final : public SystemPrinters {
public:
    explicit SpoolerPrinters(std::shared_ptr<const SpoolerApi> spooler)
        : m_spooler(std::move(spooler)) {}

    std::vector<std::string> names() const override { return m_spooler->printers(); }

    // Without a default printer the first one prints, as the spooler's own
    // dialogs offer it.
    PrinterChoice choose(const PrinterRequest& request) const override {
        const std::vector<std::string> printers = m_spooler->printers();
        if (printers.empty()) {
            return {};
        }
        std::string name = request.printer;
        if (name.empty()) {
            name = m_spooler->default_printer();
            if (!has(printers, name)) {
                name = printers.front();
            }
        } else if (!has(printers, name)) {
            throw KvalonError(ErrorKind::Printer, name, messages::kNoSuchQueue);
        }
        return {static_cast<int>(printers.size()),
                std::make_shared<SpoolerDestination>(name, request.copies, m_spooler,
                                                     request.job_wait_seconds)};
    }

    std::shared_ptr<const Destination> picked(const Destination* bound,
                                              const std::string& name) const override {
        return std::make_shared<SpoolerDestination>(name, bound ? bound->copies() : 1, m_spooler);
    }

    std::shared_ptr<const Destination> restore(const RememberedPrinter& remembered) const override {
        const std::string name = remembered_spooler_printer(remembered);
        if (name.empty() || !has(m_spooler->printers(), name)) {
            return nullptr;
        }
        return std::make_shared<SpoolerDestination>(name, 1, m_spooler);
    }

private:
    std::shared_ptr<const SpoolerApi> m_spooler;
};

} // namespace

std::unique_ptr<SystemPrinters> spooler_printers_on(std::shared_ptr<const SpoolerApi> spooler) {
    return std::make_unique<SpoolerPrinters>(std::move(spooler));
}

} // namespace kvalon
