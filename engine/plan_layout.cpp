#include "engine/plan_layout.h"

#include "engine/checked.h"
#include "engine/control_codes.h"
#include "engine/document_kind.h"
#include "engine/error.h"
#include "engine/font_sizes.h"
#include "engine/grid_span.h"
#include "engine/job_code_page.h"
#include "engine/messages.h"
#include "engine/paper_codes.h"
#include "engine/paper_names.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "engine/source_file.h"
#include "engine/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace kvalon {

namespace {

constexpr int kDefaultStartIndex = static_cast<int>(kDefaultFontSizeIndex);
// With no size fitting in either orientation, the smallest size is printed
// landscape.
constexpr const char* kFallbackSize = FontSizeList.front();
constexpr double kFitMargins = 30;
constexpr double kLineMargins = 15;
constexpr double kIndentWidth = 15;
constexpr int kMaxLinesTried = 300;
constexpr int kMaxCharsTried = 1000;
constexpr int kMaxIndentTried = 100;
const std::string kWidestLetter = "Щ";
const std::string kLineBreak = "\r\n";

// Halves go to the even number, as the DOS callers' arithmetic does.
long long round_half_even(double value) {
    return std::llrint(std::nearbyint(value));
}

void reset_plan_fields(PrintJob& j) {
    j.LineCount = 0;
    j.PageNumber = 0;
    j.PageCount = 0;
    j.LongestLine = 0;
    j.LinesPerPage = 0;
    j.FontSize = 0;
    j.PageText.clear();
    j.SourceDone = false;
    j.SkipChar = std::string(1, static_cast<char>(codes::BoldMarker));
    j.PrintableData = false;
}

// What the scan finds besides the job's own fields.
struct ScanExtras {
    std::int64_t widest_net = 0;   // most characters of a line that are not bold markers
    std::int64_t longest_page = 0; // most lines printed between form feeds
    bool paginated = false;        // the report has form-feed lines of its own
};

constexpr double kLargestPaperTwips = LargestSheetSideInches * TwipsPerInch;

void name_and_fit_paper(PrintJob& j, PrinterSurface& surface) {
    const int code = surface.paper_size();
    // Drivers default to Letter even where offices print on A4; a printer
    // that has no A4 keeps its own paper.
    const bool on_a4 = paper_is_replaced_by_a4(code) && surface.takes_a4();
    if (on_a4) {
        surface.set_paper_size(PaperA4);
    }
    j.PaperName = paper_name(on_a4 ? PaperA4 : code);
    surface.set_orientation(PrinterSurface::kPortrait);
    if (surface.width_twips() > kLargestPaperTwips || surface.height_twips() > kLargestPaperTwips) {
        throw KvalonError(ErrorKind::PaperTooLarge, j.SourcePath, messages::kLargestPaperSide);
    }
    j.PaperWidthMm = std::floor(surface.width_twips() / TwipsPerMm);
    j.PaperHeightMm = std::floor(surface.height_twips() / TwipsPerMm);
}

// The marker is searched from the first character while the search position
// stays inside the line, so a lone marker in a one-character line and the
// second of two closing markers are not counted.
std::int64_t counted_markers(const LineShape& shape) {
    if (shape.skip_total > 0 && (shape.length == 1 || shape.ends_with_two_skips)) {
        return shape.skip_total - 1;
    }
    return shape.skip_total;
}

FileIdentity scan_source(PrintJob& j, ScanExtras& extras) {
    SourceFile& source = source_file();
    source.close();
    source.open(j.SourcePath);
    const FileIdentity scanned = source.identity();
    const char marker = j.SkipChar[0];
    std::int64_t run = 0; // lines printed since the last form feed
    while (!source.at_end()) {
        const LineShape shape = source.skim_line(marker);
        if (shape.cannot_be_planned) {
            source.close();
            throw KvalonError(ErrorKind::LineTooLong, j.SourcePath);
        }
        if (shape.has_form_feed) {
            // The page reader ends the report's page at the form feed: text
            // before it is that page's last line, text after the line's last
            // form feed the next page's first. Text between two form feeds of
            // one line is a page of one line, which every size holds.
            extras.paginated = true;
            extras.longest_page =
                std::max(extras.longest_page, run + (shape.text_before_form_feed ? 1 : 0));
            run = shape.text_after_form_feed ? 1 : 0;
        } else {
            ++run;
        }
        j.PrintableData = j.PrintableData || shape.prints;
        if (shape.lone_form_feed) {
            continue;
        }
        if (j.LineCount == std::numeric_limits<std::int32_t>::max()) {
            source.close();
            throw KvalonError(ErrorKind::TooManyPages, j.SourcePath);
        }
        ++j.LineCount;
        extras.widest_net = std::max(extras.widest_net, shape.length - shape.skip_total);
        if (shape.length <= j.LongestLine) {
            continue;
        }
        const std::int64_t longest = shape.length + 2 - counted_markers(shape);
        try {
            j.LongestLine = checked_int16(longest, ErrorKind::LineTooLong, j.SourcePath);
        } catch (const KvalonError&) {
            source.close();
            throw;
        }
    }
    extras.longest_page = std::max(extras.longest_page, run);
    source.close();
    return scanned;
}

// The pages are read from a second opening of the file; the plan holds only
// if it is still the file that was scanned.
void reopen_scanned_source(const PrintJob& j, const FileIdentity& scanned) {
    SourceFile& source = source_file();
    source.open(j.SourcePath);
    if (!(source.identity() == scanned)) {
        source.close();
        throw KvalonError(ErrorKind::File, j.SourcePath, messages::kChangedDuringJob);
    }
}

std::string repeated(const std::string& piece, int count) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

int portrait_start_index(const PrintJob& j) {
    int start = kDefaultStartIndex;
    if (j.ParamList.size() >= 3) {
        for (int k = 0; k < static_cast<int>(FontSizeList.size()); ++k) {
            if (j.ParamList[2] == FontSizeList[static_cast<std::size_t>(k)]) {
                start = k;
            }
        }
    }
    return start;
}

// Tries the sizes from `first` up and keeps the largest one whose measuring
// line is narrower than the paper less both margins.
bool search_size(PrintJob& j, PrinterSurface& surface, int first, double paper_across,
                 const std::string& measure) {
    bool found = false;
    for (int k = first; k < static_cast<int>(FontSizeList.size()); ++k) {
        surface.set_font_size(std::stof(FontSizeList[static_cast<std::size_t>(k)]));
        if (surface.text_width(measure) - (paper_across - kFitMargins) < 0) {
            j.FontSize = checked_int16(round_half_even(surface.font_size()), ErrorKind::Layout,
                                       j.SourcePath);
            found = true;
        }
    }
    return found;
}

std::int16_t count_lines_per_page(PrinterSurface& surface, double page_length);

// A report that makes its own pages was written for one page length: the
// size is looked for at which its longest page fits on one sheet as well as
// its widest line across, in the order of the usual search, the largest such
// size of an orientation winning. Gives the page width, or nothing when no
// size does both.
std::optional<double> fit_longest_page(PrintJob& j, PrinterSurface& surface,
                                       const std::string& measure, std::int64_t page_lines) {
    struct Way {
        int orientation;
        int first;
        double across;
        double along;
        const char* name;
    };
    const Way ways[] = {
        {PrinterSurface::kPortrait, portrait_start_index(j), j.PaperWidthMm, j.PaperHeightMm, "P"},
        {PrinterSurface::kLandscape, 0, j.PaperHeightMm, j.PaperWidthMm, "L"},
    };
    for (const Way& way : ways) {
        surface.set_orientation(way.orientation);
        std::int16_t best = 0;
        for (int k = way.first; k < static_cast<int>(FontSizeList.size()); ++k) {
            surface.set_font_size(std::stof(FontSizeList[static_cast<std::size_t>(k)]));
            if (surface.text_width(measure) - (way.across - kFitMargins) < 0 &&
                count_lines_per_page(surface, way.along) >= page_lines) {
                best = checked_int16(round_half_even(surface.font_size()), ErrorKind::Layout,
                                     j.SourcePath);
            }
        }
        if (best != 0) {
            j.FontSize = best;
            j.Orientation = way.name;
            surface.set_font_size(static_cast<float>(best));
            return way.across;
        }
    }
    surface.set_orientation(PrinterSurface::kPortrait);
    return std::nullopt;
}

double choose_size_and_orientation(PrintJob& j, PrinterSurface& surface, const ScanExtras& extras) {
    const std::string measure = repeated(kWidestLetter, j.LongestLine);
    j.FontSize = 0;
    if (j.FitPages && extras.paginated) {
        if (const std::optional<double> fitted =
                fit_longest_page(j, surface, measure, extras.longest_page)) {
            return *fitted;
        }
    }
    surface.set_orientation(PrinterSurface::kPortrait);
    double page_width = j.PaperWidthMm;
    if (search_size(j, surface, portrait_start_index(j), j.PaperWidthMm, measure)) {
        j.Orientation = "P";
    }
    if (j.FontSize == 0) {
        surface.set_orientation(PrinterSurface::kLandscape);
        search_size(j, surface, 0, j.PaperHeightMm, measure);
        j.Orientation = "L";
        page_width = j.PaperHeightMm;
        if (j.FontSize == 0) {
            j.FontSize = static_cast<std::int16_t>(std::stoi(kFallbackSize));
        }
    }
    surface.set_font_size(static_cast<float>(j.FontSize));
    return page_width;
}

std::int16_t count_lines_per_page(PrinterSurface& surface, double page_length) {
    std::string text = "I";
    for (int n = 1; n <= kMaxLinesTried; ++n) {
        if (surface.text_height(text) > page_length - kFitMargins) {
            return static_cast<std::int16_t>(n - 1 - 2);
        }
        text += kLineBreak;
        text += "I";
    }
    return kMaxLinesTried - 2;
}

std::int16_t count_chars_per_line(PrinterSurface& surface, double page_width) {
    std::int16_t chars = 0;
    std::string text;
    for (int n = 1; n <= kMaxCharsTried; ++n) {
        text += kWidestLetter;
        if (surface.text_width(text) > page_width - kLineMargins) {
            break;
        }
        chars = static_cast<std::int16_t>(n - 2);
    }
    return chars;
}

std::int16_t indent_allowance(PrinterSurface& surface) {
    std::int16_t allowance = 0;
    std::string text;
    for (int n = 1; n <= kMaxIndentTried; ++n) {
        text += kWidestLetter;
        if (surface.text_width(text) - kIndentWidth >= 0) {
            break;
        }
        allowance = static_cast<std::int16_t>(n - 3);
    }
    return allowance;
}

void compute_grid(PrintJob& j, PrinterSurface& surface, double page_width,
                  const ScanExtras& extras) {
    const double page_length = j.Orientation == "P" ? j.PaperHeightMm : j.PaperWidthMm;
    j.LinesPerPage = count_lines_per_page(surface, page_length);
    j.CharsPerLine = 0;
    j.CharsPerLine = count_chars_per_line(surface, page_width);
    if (j.LinesPerPage < 1 || j.CharsPerLine < 1) {
        throw KvalonError(ErrorKind::Layout, j.SourcePath);
    }
    const std::int16_t allowance = indent_allowance(surface);
    const int half_spare = (j.CharsPerLine - j.LongestLine) / 2;
    j.LeftIndent = checked_int16((half_spare < 0 ? 0 : half_spare) + allowance, ErrorKind::Layout,
                                 j.SourcePath);
    // A full line and the margin allowance on both sides span the paper. The
    // centring part of the indentation is left out here: counted twice it
    // squeezed the cells of a short report far below the width of a letter,
    // so that the letters ran into each other.
    // A printed line that would pass the sheet's edge widens the span.
    const std::int16_t cells = grid_span(j, allowance, extras.widest_net);
    const double width = static_cast<double>(round_half_even(surface.width_twips()));
    j.CharWidth = static_cast<float>(width / cells / TwipsPerMm);
    j.LineHeight = surface.text_height("");
}

} // namespace

void plan_layout() {
    PrintJob& j = job();
    PrinterSurface& surface = printer();
    reset_plan_fields(j);
    const DocumentKind kind = document_kind(j.SourcePath);
    tell_language_from_report(j);
    // A PCL job is ours to read unless another language was asked for.
    if (kind != DocumentKind::Text &&
        !(kind == DocumentKind::Pcl && language_of(j) == PrinterLanguage::Pcl)) {
        source_file().close();
        throw KvalonError(ErrorKind::NotTextReport, j.SourcePath,
                          messages::kDocumentOfKind + document_kind_title(kind));
    }
    surface.set_scale_mode(PrinterSurface::kScaleMillimetres);
    surface.set_font_name(j.FontFace);
    name_and_fit_paper(j, surface);
    page_model(j).plan(j, surface);
}

void plan_text_layout(PrintJob& j, PrinterSurface& surface) {
    ScanExtras extras;
    const FileIdentity scanned = scan_source(j, extras);
    choose_job_code_page(j, page_model(j));
    const double page_width = choose_size_and_orientation(j, surface, extras);
    compute_grid(j, surface, page_width, extras);
    reopen_scanned_source(j, scanned);
    j.PageNumber = 0;
    j.SourceDone = false;
    const double pages = static_cast<double>(j.LineCount) / j.LinesPerPage;
    j.PageCount = std::ceil(pages);
}

} // namespace kvalon
