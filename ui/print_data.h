#pragma once

#include "engine/job_preview.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kvalon {

struct PrintJob;

// The rows of the print data, in the order the menu window shows them.
enum class PrintDataRow {
    Printer,
    File,
    Font,
    Size,
    Chars,
    Lines,
    Orientation,
    PaperSize,
    PaperName,
    JobSettings, // what a print queue is told with the job
    Mode,        // how the report is read: as plain text or as an Epson printer reads it
    CodePage,    // the code page the report is read in
    FormLength,  // the form length the printer is set to
};
inline constexpr std::size_t kPrintDataRows = 13;

// One row's value as the print data show it (UTF-8; paths in the file
// system's own bytes).
struct PrintDataValue {
    // Nothing: the row keeps what it shows.
    std::optional<std::string> text;
    // The whole of a value too long for its row; nothing: as the row has it.
    std::optional<std::string> tip;
    bool shown = true;
};

// What the menu window shows of a planned job on the printer `printer_name`
// whose next document would be sent as `preview` says. A row with nothing to
// show is hidden, and the rows below it move up. The note, when there is
// one, is for the status line.
struct PrintData {
    std::array<PrintDataValue, kPrintDataRows> rows;
    std::string note;

    const PrintDataValue& operator[](PrintDataRow row) const {
        return rows[static_cast<std::size_t>(row)];
    }
    PrintDataValue& operator[](PrintDataRow row) { return rows[static_cast<std::size_t>(row)]; }
};
PrintData print_data(const PrintJob& j, const std::string& printer_name, const JobPreview& preview);

// A form length (printer units, engine/escp/escp_state.h) as the user knows
// it: "11 in (279 mm)", "A4 (297 mm)", "70 реда (296 mm)".
std::string form_length_text(std::int64_t units);

} // namespace kvalon
