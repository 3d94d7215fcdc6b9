#include "engine/escp/escp_scan.h"

#include "engine/error.h"
#include "engine/escp/escp_printer.h"
#include "engine/messages.h"
#include "engine/source_file.h"

#include <algorithm>
#include <limits>

namespace kvalon {

namespace {

class Measure final : public EscpOutput {
public:
    Measure(EscpScan& scan, const std::string& path) : m_scan(scan), m_path(path) {}
    void watch(const EscpPrinter& printer) { m_printer = &printer; }

    void glyph(const EscpGlyph& glyph) override {
        if (glyph.visible()) {
            printed_to(glyph.x + glyph.width, glyph.height);
            reaches_down_to(glyph.y + glyph.height);
            if (++m_page_characters > kMostCharactersOnPage) {
                too_full(kMostCharactersOnPage, messages::kCharactersOnOnePage);
            }
        }
    }
    // After each byte: once a page prints, all its bytes are kept for it.
    void took_byte() {
        if (m_printer->state().page_has_print && ++m_page_bytes > kMostBytesOnPage) {
            too_full(kMostBytesOnPage, messages::kBytesOnOnePage);
        }
    }
    void dots(const EscpDots& dots) override {
        const std::int64_t spacing = m_printer->state().line_spacing;
        printed_to(dots.x + dots.image.columns() * dots.column_pitch,
                   spacing > 0 ? spacing : kEscpSixthInch);
        reaches_down_to(dots.y + dots.image.rows() * dots.row_pitch);
    }
    void form_feed() override {
        m_scan.form_feeds =
            std::min(m_scan.form_feeds + 1, std::numeric_limits<std::int32_t>::max());
    }
    void page_end(bool had_print) override {
        if (had_print) {
            count_page();
        }
        m_page_characters = 0;
        m_page_bytes = 0;
    }
    void line_feed() override {
        m_scan.line_feeds =
            std::min(m_scan.line_feeds + 1, std::numeric_limits<std::int32_t>::max());
    }
    void count_page() {
        if (m_scan.pages == std::numeric_limits<std::int32_t>::max()) {
            throw KvalonError(ErrorKind::TooManyPages, m_path);
        }
        ++m_scan.pages;
    }

private:
    [[noreturn]] void too_full(std::int64_t bound, const std::string& what) const {
        throw KvalonError(ErrorKind::PageTooFull, m_path,
                          messages::kLargerThan + std::to_string(bound) + what);
    }
    // `spacing`: the line spacing the print was placed with.
    void printed_to(std::int64_t right, std::int64_t spacing) {
        const EscpState& state = m_printer->state();
        if (!m_scan.printed) {
            m_scan.first_form_lines = state.form_length / spacing;
            m_scan.printed = true;
        }
        m_scan.widest = std::max(m_scan.widest, right);
        m_scan.longest_form = std::max(m_scan.longest_form, state.form_length);
    }

    // A whole page is as long as its print reaches, and no longer than a
    // form can be.
    void reaches_down_to(std::int64_t bottom) {
        if (m_printer->state().whole_pages) {
            m_scan.longest_form = std::max(m_scan.longest_form, bottom);
            m_scan.too_tall = m_scan.too_tall || bottom > kEscpLongestForm;
        }
    }

    EscpScan& m_scan;
    const std::string& m_path;
    const EscpPrinter* m_printer = nullptr;
    std::int64_t m_page_characters = 0;
    std::int64_t m_page_bytes = 0;
};

} // namespace

EscpScan scan_escp_source(SourceFile& source, const EscpState& start) {
    EscpScan scan;
    Measure measure(scan, source.path());
    EscpPrinter printer(measure, start);
    measure.watch(printer);
    const auto reading = [&] { return !printer.ended() && !scan.too_tall; };
    for (std::string_view bytes = source.available(); !bytes.empty() && reading();
         bytes = source.available()) {
        std::size_t taken = 0;
        while (taken < bytes.size() && reading()) {
            printer.take(static_cast<unsigned char>(bytes[taken++]));
            measure.took_byte();
        }
        source.consume(taken);
    }
    printer.finish();
    if (printer.state().page_has_print) {
        measure.count_page();
    }
    return scan;
}

} // namespace kvalon
