// The ESC/P page model over any report. The report is read as the printer
// reads it, once whole and once page by page as the page reader cuts it; for
// every printed page, its bytes printed again from the state it began with
// give exactly what the whole report printed on that page. Every character
// and dot stands inside the carriage and the form, and the pages counted are
// the pages read. The same again with whole pages (one report page per
// sheet), whose pages run on below the form.
#include "engine/escp/escp_page_reader.h"
#include "engine/escp/escp_printer.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "fuzz/pages_printed.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kvalon::EscpDots;
using kvalon::EscpGlyph;

// What a page shows: its visible characters and pictures with their places.
class PageRecord final : public kvalon::EscpOutput {
public:
    explicit PageRecord(bool one_page) : m_one_page(one_page) { pages.emplace_back(); }
    void watch(const kvalon::EscpPrinter& printer) { m_printer = &printer; }

    void glyph(const EscpGlyph& g) override {
        check_place(g.x, g.y);
        if (g.visible() && !m_done) {
            pages.back() += "g" + std::to_string(g.code) + "@" + std::to_string(g.x) + "," +
                            std::to_string(g.y) + (g.bold ? "b" : "") + ";";
        }
    }
    void dots(const EscpDots& d) override {
        check_place(d.x, d.y);
        if (d.x + d.image.columns() * d.column_pitch > m_printer->state().right_margin) {
            std::abort();
        }
        if (!m_done) {
            pages.back() += "d@" + std::to_string(d.x) + "," + std::to_string(d.y) + "x" +
                            std::to_string(d.image.columns()) + ";";
        }
    }
    void page_end(bool had_print) override {
        if (!had_print) {
            return;
        }
        m_done = m_one_page;
        if (!m_one_page) {
            pages.emplace_back();
        }
    }

    std::vector<std::string> pages;

private:
    void check_place(std::int64_t x, std::int64_t y) const {
        const kvalon::EscpState& state = m_printer->state();
        if (x < 0 || x > kvalon::kEscpCarriageWidth || y < 0 ||
            (y >= state.form_length && !state.whole_pages)) {
            std::abort();
        }
    }

    const kvalon::EscpPrinter* m_printer = nullptr;
    bool m_one_page;
    bool m_done = false;
};

std::vector<std::string> whole_report(const std::string& report, const kvalon::EscpState& start) {
    return pages_printed<kvalon::EscpPrinter, PageRecord>(report, start, false);
}

std::string one_page(const kvalon::PrintJob& j) {
    return pages_printed<kvalon::EscpPrinter, PageRecord>(j.PrintText, j.Escp->PageStart, true)
        .front();
}

void read_in_pages(const std::uint8_t* data, std::size_t size, bool whole_pages) {
    const std::string report(reinterpret_cast<const char*>(data), size);
    kvalon::EscpState start;
    start.whole_pages = whole_pages;
    const std::vector<std::string> pages = whole_report(report, start);
    kvalon::reset_job();
    kvalon::PrintJob& j = kvalon::job();
    j.Escp.emplace();
    j.Escp->Carried = start;
    j.SourcePath = "report";
    kvalon::BytesInputs held(report);
    kvalon::SourceFile& source = kvalon::source_file();
    source.read_from(held);
    source.open(j.SourcePath, kvalon::SourceFile::Reading::Bytes);
    std::size_t read = 0;
    while (!j.SourceDone) {
        kvalon::read_escp_page(j, source);
        if (j.PrintText.empty()) {
            break;
        }
        if (read >= pages.size() || one_page(j) != pages[read]) {
            std::abort();
        }
        ++read;
    }
    if (read != pages.size() || j.PageNumber != static_cast<int>(read)) {
        std::abort();
    }
    source.close();
    source.read_from(kvalon::files_on_disk());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    read_in_pages(data, size, false);
    read_in_pages(data, size, true);
    return 0;
}
