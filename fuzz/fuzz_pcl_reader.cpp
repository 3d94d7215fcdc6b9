// The PCL page model over any job. The job is read as the printer reads it,
// once whole and once page by page as the page reader cuts it; for every
// printed page, its bytes printed again from the state it began with give
// exactly what the whole job printed on that page. Every letter, fill and
// row of dots stands inside the logical page across and the page down, and
// the pages counted are the pages read.
#include "engine/pcl/pcl_page_reader.h"
#include "engine/pcl/pcl_printer.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "fuzz/pages_printed.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using kvalon::PclFill;
using kvalon::PclGlyph;
using kvalon::PclRasterRow;
using kvalon::PclState;

class PageRecord final : public kvalon::PclOutput {
public:
    explicit PageRecord(bool one_page) : m_one_page(one_page) { pages.emplace_back(); }
    void watch(const kvalon::PclPrinter& printer) { m_printer = &printer; }

    void glyph(const PclGlyph& g) override {
        if (!g.visible()) {
            return;
        }
        check_across(g.x, g.width);
        check_down(g.baseline, 0);
        add("g" + std::to_string(g.code) + "@" + std::to_string(g.x) + "," +
            std::to_string(g.baseline) + (g.bold ? "b" : "") + ";");
    }
    void fill(const PclFill& f) override {
        if (f.grey >= 255) {
            return;
        }
        check_across(f.x, f.width);
        check_down(f.y, f.height);
        add("f@" + std::to_string(f.x) + "," + std::to_string(f.y) + "," + std::to_string(f.width) +
            "," + std::to_string(f.height) + ";");
    }
    void raster_row(const PclRasterRow& r) override {
        check_across(r.x, r.image.columns() * r.dot);
        check_down(r.y, r.dot);
        if (r.right <= r.x || !r.image.any_dot()) {
            std::abort();
        }
        add("r@" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.right) +
            ";");
    }
    void page_end(bool had_print, const PclState&) override {
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
    void add(const std::string& mark) {
        if (!m_done) {
            pages.back() += mark;
        }
    }
    void check_across(std::int64_t x, std::int64_t width) const {
        const PclState& s = m_printer->state();
        if (width <= 0 || x < s.logical_left || x + width > s.logical_left + s.logical_width) {
            std::abort();
        }
    }
    void check_down(std::int64_t y, std::int64_t height) const {
        const PclState& s = m_printer->state();
        if (height < 0 || y < 0 || y + height > s.page_length) {
            std::abort();
        }
    }

    const kvalon::PclPrinter* m_printer = nullptr;
    bool m_one_page;
    bool m_done = false;
};

const std::string& memory_file(const std::uint8_t* data, std::size_t size) {
    static const int descriptor = memfd_create("job", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    if (ftruncate(descriptor, 0) != 0 ||
        pwrite(descriptor, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    return path;
}

std::vector<std::string> whole_job(const std::string& job) {
    return pages_printed<kvalon::PclPrinter, PageRecord>(
        job, PclState::reset(kvalon::CodePageId::Mik), false);
}

std::string one_page(const kvalon::PrintJob& j) {
    return pages_printed<kvalon::PclPrinter, PageRecord>(j.PrintText, j.Pcl->PageStart, true)
        .front();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string job(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> pages = whole_job(job);
    kvalon::reset_job();
    kvalon::PrintJob& j = kvalon::job();
    j.Pcl.emplace();
    j.Pcl->Carried = PclState::reset(kvalon::CodePageId::Mik);
    j.SourcePath = memory_file(data, size);
    kvalon::SourceFile& source = kvalon::source_file();
    source.open(j.SourcePath, kvalon::SourceFile::Reading::Bytes);
    std::size_t read = 0;
    while (!j.SourceDone) {
        kvalon::read_pcl_page(j, source);
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
    return 0;
}
