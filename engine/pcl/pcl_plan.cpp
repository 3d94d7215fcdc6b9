#include "engine/pcl/pcl_plan.h"

#include "engine/error.h"
#include "engine/job_code_page.h"
#include "engine/messages.h"
#include "engine/paper_codes.h"
#include "engine/paper_names.h"
#include "engine/pcl/pcl_page_model.h"
#include "engine/pcl/pcl_scan.h"
#include "engine/source_file.h"
#include "engine/units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvalon {

namespace {

constexpr double kScaleSteps = 1e4;
constexpr double kSameSheetMm = 0.1;

double mm_of(std::int64_t units) {
    return static_cast<double>(units) * MmPerInch / static_cast<double>(kPclUnitsPerInch);
}

std::int16_t whole16(double value) {
    return static_cast<std::int16_t>(std::clamp(
        std::nearbyint(value), 0.0, static_cast<double>(std::numeric_limits<std::int16_t>::max())));
}

FileIdentity scan(PrintJob& j, PclScan& found) {
    SourceFile& source = source_file();
    source.close();
    source.open(j.SourcePath, SourceFile::Reading::Bytes);
    const FileIdentity scanned = source.identity();
    try {
        choose_job_code_page(j, pcl_page_model());
        found = scan_pcl_source(source, PclState::reset(j.CodePage));
    } catch (const KvalonError&) {
        source.close();
        throw;
    }
    source.close();
    return scanned;
}

// The sheet of the page's size, as the page lies.
void choose_sheet(PrintJob& j, PrinterSurface& surface, const PclState& page) {
    set_pcl_sheet(surface, page.page_size, false);
    j.PaperName = paper_name(surface.paper_size());
    if (surface.width_twips() > LargestSheetSideInches * TwipsPerInch ||
        surface.height_twips() > LargestSheetSideInches * TwipsPerInch) {
        throw KvalonError(ErrorKind::PaperTooLarge, j.SourcePath, messages::kLargestPaperSide);
    }
    j.PaperWidthMm = std::floor(surface.width_twips() / TwipsPerMm);
    j.PaperHeightMm = std::floor(surface.height_twips() / TwipsPerMm);
    j.Orientation = page.landscape ? "L" : "P";
    surface.set_orientation(page.landscape ? PrinterSurface::kLandscape
                                           : PrinterSurface::kPortrait);
}

void place_page(PrintJob& j, PrinterSurface& surface, const PclState& page) {
    PclJob& pcl = *j.Pcl;
    const PclSheetPlace place = pcl_sheet_place(surface, page.page_width, page.page_length);
    if (place.scale <= 0) {
        throw KvalonError(ErrorKind::Layout, j.SourcePath);
    }
    pcl.Scale = place.scale;
    pcl.LeftMm = place.left_mm;
    pcl.TopMm = place.top_mm;
    pcl.PageWidth = page.page_width;
    pcl.PageLength = page.page_length;
    pcl.PageSize = page.page_size;
    pcl.Border = page.logical_left;
    pcl.TextLines = page.text_length / kPclSixthInch;
}

void fill_plan(PrintJob& j, PrinterSurface& surface, const PclScan& found) {
    const PclJob& pcl = *j.Pcl;
    surface.set_font_size(static_cast<float>(12 * pcl.Scale));
    j.FontSize = std::max<std::int16_t>(whole16(surface.font_size()), 1);
    j.CharWidth = static_cast<float>(mm_of(kPclPicaColumn) * pcl.Scale);
    j.LineHeight = static_cast<float>(mm_of(kPclSixthInch) * pcl.Scale);
    j.LineCount = found.line_feeds;
    j.LongestLine = whole16(std::ceil(static_cast<double>(found.widest) / kPclPicaColumn));
    j.CharsPerLine = whole16(std::floor(surface.width_twips() / TwipsPerMm / j.CharWidth));
    j.LinesPerPage = whole16(static_cast<double>(pcl.TextLines));
    j.LeftIndent = 0;
    j.PageCount = found.pages;
    j.PrintableData = found.printed;
}

} // namespace

void set_pcl_sheet(PrinterSurface& surface, int page_size, bool landscape) {
    const PclPageSize* size = pcl_page_size(page_size);
    const int code = size != nullptr ? size->windows_code : PaperA4;
    if (code != PaperA4 || surface.takes_a4()) {
        surface.set_paper_size(code);
    }
    surface.set_orientation(landscape ? PrinterSurface::kLandscape : PrinterSurface::kPortrait);
}

PclSheetPlace pcl_sheet_place(const PrinterSurface& surface, std::int64_t page_width,
                              std::int64_t page_length) {
    const double sheet_width = surface.width_twips() / TwipsPerMm;
    const double sheet_length = surface.height_twips() / TwipsPerMm;
    const double width = mm_of(page_width);
    const double length = mm_of(page_length);
    if (width <= 0 || length <= 0 || sheet_width <= 0 || sheet_length <= 0) {
        return {};
    }
    const double fit = std::min({1.0, sheet_width / width, sheet_length / length});
    PclSheetPlace place;
    // Four decimals: the plan shows the scale the pages are printed at.
    place.scale = std::floor(fit * kScaleSteps) / kScaleSteps;
    // The sheet of the page's own size is the page, whatever the rounding of
    // its measures.
    const auto centred = [](double room) { return room < kSameSheetMm ? 0.0 : room / 2; };
    place.left_mm = centred(sheet_width - width * place.scale);
    place.top_mm = centred(sheet_length - length * place.scale);
    return place;
}

void plan_pcl_layout(PrintJob& j, PrinterSurface& surface) {
    PclScan found;
    const FileIdentity scanned = scan(j, found);
    choose_sheet(j, surface, found.first_page);
    place_page(j, surface, found.first_page);
    fill_plan(j, surface, found);
    j.Pcl->SizesDiffer = found.sizes_differ;
    j.Pcl->SheetPerPage = surface.sheet_per_page();
    j.Pcl->PagePaperSize = found.first_page.page_size;
    SourceFile& source = source_file();
    source.open(j.SourcePath, SourceFile::Reading::Bytes);
    if (!(source.identity() == scanned)) {
        source.close();
        throw KvalonError(ErrorKind::File, j.SourcePath, messages::kChangedDuringJob);
    }
    j.Pcl->Carried = PclState::reset(j.CodePage);
    j.Pcl->PageStart = j.Pcl->Carried;
    j.Pcl->Pending.clear();
    j.PageNumber = 0;
    j.SourceDone = false;
}

} // namespace kvalon
