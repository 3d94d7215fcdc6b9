#pragma once

#include "printing/destination.h"

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

class PrinterBinding;
class UserSettings;

// One printer of the system's print service as the printer menu offers it.
struct PrinterOffer {
    std::string name;
    bool bound = false; // it prints now
};

// What the printer menu offers, taken afresh each time it opens: the system's
// printers, then the PDF printer writing a file the user names.
struct PrinterOffers {
    std::vector<PrinterOffer> printers;
    bool pdf_bound = false;
};
PrinterOffers printer_offers(const PrinterBinding& binding);

// The system's printer `name`, picked now: with the copies asked for so far.
std::shared_ptr<const Destination> picked_printer(const PrinterBinding& binding,
                                                  const std::string& name);

// Where the file dialog for the PDF printer starts: its file now, else
// kvalon-p.pdf in the folder of the last report, else in `home`.
std::string pdf_start(const PrinterBinding& binding, const UserSettings& settings,
                      const std::string& home);

// The PDF printer writing `path`, picked now: on the paper and with the copies
// it had when it was bound already.
std::shared_ptr<const Destination> picked_pdf(const PrinterBinding& binding,
                                              const std::string& path);

} // namespace kvalon
