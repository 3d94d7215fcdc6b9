#include "ui/printer_offers.h"

#include "printing/choice/printer_choice.h"
#include "printing/printer_binding.h"
#include "ui/user_settings.h"

namespace kvalon {

namespace {

const Destination* bound_destination(const PrinterBinding& binding) {
    return binding.is_bound() ? &binding.destination() : nullptr;
}

} // namespace

PrinterOffers printer_offers(const PrinterBinding& binding) {
    const Destination* bound = bound_destination(binding);
    PrinterOffers offers;
    for (const std::string& name : system_printers().names()) {
        const bool is_bound =
            bound != nullptr && bound->is_same_printer(*system_printers().picked(bound, name));
        offers.printers.push_back(PrinterOffer{name, is_bound});
    }
    offers.pdf_bound = bound != nullptr && bound->file_output() != nullptr;
    return offers;
}

std::shared_ptr<const Destination> picked_printer(const PrinterBinding& binding,
                                                  const std::string& name) {
    return system_printers().picked(bound_destination(binding), name);
}

std::string pdf_start(const PrinterBinding& binding, const UserSettings& settings,
                      const std::string& home) {
    const Destination* bound = bound_destination(binding);
    if (const FileOutput* file = bound != nullptr ? bound->file_output() : nullptr) {
        return file->path();
    }
    const std::string folder = settings.folder();
    return (folder.empty() ? home : folder) + "/kvalon-p.pdf";
}

std::shared_ptr<const Destination> picked_pdf(const PrinterBinding& binding,
                                              const std::string& path) {
    return picked_pdf_printer(bound_destination(binding), path);
}

} // namespace kvalon
