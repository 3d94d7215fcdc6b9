#include "engine/pcl/pcl_scan.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/pcl/pcl_printer.h"
#include "engine/source_file.h"

#include <algorithm>
#include <limits>
#include <string>

namespace kvalon {

namespace {

class Measure final : public PclOutput {
public:
    Measure(PclScan& scan, const std::string& path) : m_scan(scan), m_path(path) {}

    void glyph(const PclGlyph& glyph) override {
        if (glyph.visible()) {
            mark(glyph.x + glyph.width);
        }
    }
    void fill(const PclFill& fill) override { mark(fill.x + fill.width); }
    void raster_row(const PclRasterRow& row) override { mark(row.right); }
    void page_end(bool had_print, const PclState& page) override {
        if (had_print) {
            count_page(page);
        }
        m_marks = 0;
        m_bytes = 0;
    }
    void line_feed() override {
        m_scan.line_feeds =
            std::min(m_scan.line_feeds + 1, std::numeric_limits<std::int32_t>::max());
    }
    void took_byte(const PclPrinter& printer) {
        if (printer.state().page_has_print && ++m_bytes > kMostPclBytesOnPage) {
            too_full(kMostPclBytesOnPage, messages::kBytesOnOnePage);
        }
    }
    void count_page(const PclState& page) {
        if (m_scan.pages == std::numeric_limits<std::int32_t>::max()) {
            throw KvalonError(ErrorKind::TooManyPages, m_path);
        }
        if (!m_scan.printed) {
            m_scan.first_page = page;
            m_scan.printed = true;
        }
        m_scan.sizes_differ = m_scan.sizes_differ || page.page_size != m_scan.first_page.page_size;
        ++m_scan.pages;
    }

private:
    [[noreturn]] void too_full(std::int64_t bound, const std::string& what) const {
        throw KvalonError(ErrorKind::PageTooFull, m_path,
                          messages::kLargerThan + std::to_string(bound) + what);
    }
    void mark(std::int64_t right) {
        m_scan.widest = std::max(m_scan.widest, right);
        if (++m_marks > kMostPclMarksOnPage) {
            too_full(kMostPclMarksOnPage, messages::kCharactersOnOnePage);
        }
    }

    PclScan& m_scan;
    const std::string& m_path;
    std::int64_t m_marks = 0;
    std::int64_t m_bytes = 0;
};

} // namespace

PclScan scan_pcl_source(SourceFile& source, const PclState& start) {
    PclScan scan;
    scan.first_page = start;
    Measure measure(scan, source.path());
    PclPrinter printer(measure, start);
    for (std::string_view bytes = source.available(); !bytes.empty(); bytes = source.available()) {
        for (const char byte : bytes) {
            printer.take(static_cast<unsigned char>(byte));
            measure.took_byte(printer);
        }
        source.consume(bytes.size());
    }
    printer.finish();
    if (printer.state().page_has_print) {
        measure.count_page(printer.state());
    }
    return scan;
}

} // namespace kvalon
