// Planning, page reading and printing of any file against the recording
// surface. The first three bytes choose the paper, the smallest portrait size,
// and batch or interactive (bit 0), the ESC/P mode (bit 1) and the code page
// (the rest: none asked, one of the pages, or auto); the rest is the report. Every run must end:
// with one document of all its pages, or with a failure of a kind the input can cause.
#include "engine/error.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "tests/support/recording_surface.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Paper {
    double width_twips;
    double height_twips;
};

// A4, Letter, A3, a narrow strip and a card too small for one line.
constexpr std::array<Paper, 5> kPapers = {
    {{11906, 16838}, {12240, 15840}, {16838, 23811}, {2000, 16838}, {900, 900}}};
constexpr std::array<const char*, 5> kSizeWords = {"8", "6", "13", "10", "x"};
// Far more read_page calls than any input of the fuzzer's length can need.
constexpr int kMaxPageReads = 1 << 20;

void set_up(kvalon::testing::RecordingSurface& surface, const std::uint8_t* head) {
    const Paper& paper = kPapers[head[0] % kPapers.size()];
    surface.paper_width_twips = paper.width_twips;
    surface.paper_height_twips = paper.height_twips;
    kvalon::reset_job();
    kvalon::PrintJob& j = kvalon::job();
    j.ParamList = {"", "0", kSizeWords[head[1] % kSizeWords.size()], ""};
    j.FontFace = "CourierCyr";
    j.CommandLineJob = (head[2] & 1) != 0;
    kvalon::choose_language(j, (head[2] & 2) != 0 ? kvalon::PrinterLanguage::Epson
                                                  : kvalon::PrinterLanguage::Text);
    const std::size_t page = (head[2] >> 2) % (kvalon::kCodePageCount + 2);
    if (page == kvalon::kCodePageCount + 1) {
        j.CodePageAsked = kvalon::CodePageChoice{true, kvalon::CodePageId::Mik};
    } else if (page > 0) {
        j.CodePageAsked = kvalon::CodePageChoice{false, static_cast<kvalon::CodePageId>(page - 1)};
    }
    kvalon::set_printer(&surface);
}

int count(const std::vector<std::string>& log, const std::string& entry) {
    int n = 0;
    for (const std::string& line : log) {
        n += line == entry ? 1 : 0;
    }
    return n;
}

void print_all(kvalon::testing::RecordingSurface& surface) {
    kvalon::PrintJob& j = kvalon::job();
    kvalon::plan_layout();
    int reads = 0;
    while (!j.SourceDone) {
        if (++reads > kMaxPageReads) {
            std::abort(); // the page loop does not end
        }
        kvalon::read_page();
        kvalon::print_page();
    }
    // Every printed page is in one document: a new page between pages and one
    // end of document after the last. A source that ends with a form feed
    // after a full page leaves its document open for the program's end to
    // hand over; then the last call was a new page.
    const int pages = j.PageNumber;
    const int ends = count(surface.log, "EndDoc");
    const int breaks = count(surface.log, "NewPage");
    if (pages == 0) {
        if (!surface.log.empty()) {
            std::abort();
        }
        return;
    }
    const bool ended = surface.log.back() == "EndDoc";
    const bool left_open = surface.log.back() == "NewPage" && j.PageText.empty();
    if (ends > 1 || breaks + ends != pages || !(ended || left_open)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 3;
    if (size < kHead) {
        return 0;
    }
    kvalon::testing::RecordingSurface surface;
    set_up(surface, data);
    // The report lives in memory; the engine opens it by name like any file.
    kvalon::BytesInputs report(
        std::string(reinterpret_cast<const char*>(data + kHead), size - kHead));
    kvalon::source_file().read_from(report);
    kvalon::job().SourcePath = "report";
    try {
        print_all(surface);
    } catch (const kvalon::KvalonError& error) {
        // The file does not change under the engine, so only a document that
        // is no report, a line that is too long, too many pages or a paper
        // that is too small can stop it.
        if (error.kind() != kvalon::ErrorKind::NotTextReport &&
            error.kind() != kvalon::ErrorKind::LineTooLong &&
            error.kind() != kvalon::ErrorKind::TooManyPages &&
            error.kind() != kvalon::ErrorKind::Layout) {
            std::abort();
        }
    }
    kvalon::source_file().close();
    kvalon::source_file().read_from(kvalon::files_on_disk());
    kvalon::set_printer(nullptr);
    return 0;
}
