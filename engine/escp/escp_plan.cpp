#include "engine/escp/escp_plan.h"

#include "engine/checked.h"
#include "engine/error.h"
#include "engine/escp/escp_scan.h"
#include "engine/job_code_page.h"
#include "engine/messages.h"
#include "engine/source_file.h"
#include "engine/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvalon {

namespace {

// Kept clear on every side of the sheet, inside what printers can print.
constexpr double kSheetMarginMm = 10;
constexpr double kScaleSteps = 1e4;

double mm_of(std::int64_t units) {
    return static_cast<double>(units) * MmPerInch / static_cast<double>(kEscpUnitsPerInch);
}

struct Fit {
    double scale = 0; // 0: no room
    double across = 0;
    double along = 0;
};

// The largest scale, up to the page's own size, at which the printer's page
// fits on the sheet inside its margins.
Fit fit_page(double across, double along, double width, double length) {
    Fit fit{0, across - 2 * kSheetMarginMm, along - 2 * kSheetMarginMm};
    if (fit.across <= 0 || fit.along <= 0) {
        return fit;
    }
    fit.scale = std::min(1.0, fit.along / length);
    if (width > 0) {
        fit.scale = std::min(fit.scale, fit.across / width);
    }
    // Four decimals: the plan shows the scale the pages are printed at.
    fit.scale = std::floor(fit.scale * kScaleSteps) / kScaleSteps;
    return fit;
}

// The printer as it stands when the report begins: its form the one it was
// set to, its characters the report's code page.
EscpState printer_start(const PrintJob& j) {
    EscpState start;
    start.printer_form_length = j.PrinterFormLength;
    start.form_length = j.PrinterFormLength;
    start.code_page = j.CodePage;
    start.whole_pages = j.Escp->WholePages;
    return start;
}

FileIdentity scan(PrintJob& j, EscpScan& found, bool choose_code_page) {
    SourceFile& source = source_file();
    source.close();
    source.open(j.SourcePath, SourceFile::Reading::Bytes);
    const FileIdentity scanned = source.identity();
    try {
        // Which bytes print depends on the code page: it is told once the
        // report is known to be a file one may read.
        if (choose_code_page) {
            choose_job_code_page(j);
        }
        found = scan_escp_source(source, printer_start(j));
    } catch (const KvalonError&) {
        source.close();
        throw;
    }
    source.close();
    return scanned;
}

Fit choose_orientation(PrintJob& j, PrinterSurface& surface, const EscpScan& found) {
    const double width = mm_of(found.widest);
    const double length = mm_of(found.printed ? found.longest_form : j.PrinterFormLength);
    surface.set_orientation(PrinterSurface::kPortrait);
    const double paper_width = surface.width_twips() / TwipsPerMm;
    const double paper_height = surface.height_twips() / TwipsPerMm;
    const Fit portrait = fit_page(paper_width, paper_height, width, length);
    const Fit landscape = fit_page(paper_height, paper_width, width, length);
    if (portrait.scale <= 0 && landscape.scale <= 0) {
        throw KvalonError(ErrorKind::Layout, j.SourcePath);
    }
    const bool turn = landscape.scale > portrait.scale;
    j.Orientation = turn ? "L" : "P";
    surface.set_orientation(turn ? PrinterSurface::kLandscape : PrinterSurface::kPortrait);
    j.Escp->Scale = turn ? landscape.scale : portrait.scale;
    const Fit& chosen = turn ? landscape : portrait;
    j.Escp->LeftMm = kSheetMarginMm + (chosen.across - width * j.Escp->Scale) / 2;
    j.Escp->TopMm = kSheetMarginMm;
    return chosen;
}

std::int16_t whole16(double value) {
    return static_cast<std::int16_t>(std::clamp(
        std::nearbyint(value), 1.0, static_cast<double>(std::numeric_limits<std::int16_t>::max())));
}

void fill_plan(PrintJob& j, PrinterSurface& surface, const EscpScan& found, const Fit& fit) {
    surface.set_font_size(static_cast<float>(kEscpPicaPoints * j.Escp->Scale));
    j.FontSize = whole16(surface.font_size());
    j.CharWidth = static_cast<float>(mm_of(kEscpPicaColumn) * j.Escp->Scale);
    j.LineHeight = static_cast<float>(mm_of(kEscpSixthInch) * j.Escp->Scale);
    j.LineCount = found.line_feeds;
    j.LongestLine = whole16(std::ceil(static_cast<double>(found.widest) / kEscpPicaColumn));
    if (found.widest == 0) {
        j.LongestLine = 0;
    }
    j.CharsPerLine = whole16(std::floor(fit.across / j.CharWidth));
    j.LinesPerPage = whole16(static_cast<double>(
        found.printed ? found.first_form_lines : j.PrinterFormLength / kEscpSixthInch));
    j.LeftIndent = static_cast<std::int16_t>(std::lround(j.Escp->LeftMm / j.CharWidth));
    j.PageCount = found.pages;
    j.Escp->FormLength = found.printed ? found.longest_form : j.PrinterFormLength;
    j.Escp->Width = found.widest;
    j.PrintableData = found.printed;
}

} // namespace

void plan_escp_layout(PrintJob& j, PrinterSurface& surface) {
    EscpScan found;
    j.Escp->WholePages = j.FitPages;
    FileIdentity scanned = scan(j, found, true);
    // A report that makes no pages of its own, or a page taller than any
    // form, is cut at the form's length as the printer cuts it.
    if (j.Escp->WholePages && (found.too_tall || found.form_feeds == 0)) {
        j.Escp->WholePages = false;
        found = EscpScan{};
        scanned = scan(j, found, false);
    }
    const Fit fit = choose_orientation(j, surface, found);
    fill_plan(j, surface, found, fit);
    SourceFile& source = source_file();
    source.open(j.SourcePath, SourceFile::Reading::Bytes);
    if (!(source.identity() == scanned)) {
        source.close();
        throw KvalonError(ErrorKind::File, j.SourcePath, messages::kChangedDuringJob);
    }
    j.Escp->Carried = printer_start(j);
    j.Escp->PageStart = j.Escp->Carried;
    j.Escp->Pending.clear();
}

} // namespace kvalon
