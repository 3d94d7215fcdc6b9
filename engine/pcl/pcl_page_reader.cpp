#include "engine/pcl/pcl_page_reader.h"

#include "engine/byte_feed.h"
#include "engine/checked.h"
#include "engine/error.h"
#include "engine/pcl/pcl_printer.h"
#include "engine/source_file.h"

#include <optional>
#include <string>
#include <utility>

namespace kvalon {

namespace {

// Bytes before anything is printed on a page are dropped once there are this
// many, from a place between sequences: the page starts there with the state
// they left, so a job of nothing but commands does not fill memory.
constexpr std::size_t kMostUnprintedBytes = std::size_t{1} << 16;

// What one byte of a job did to the printer's pages.
struct ByteEffect {
    bool ended_page = false;
    bool ended_printed_page = false;
    bool glyph_after_end = false;      // a character was placed after the last end
    bool printed = false;              // something was printed after the last end
    std::optional<PclState> after_end; // the printer at the last end
    bool landscape = false;            // the printed page that ended lay across
    int page_size = 26;                // and its size
};

class PageEvents final : public PclOutput {
public:
    void watch(const PclPrinter& printer) { m_printer = &printer; }
    void start_byte() {
        m_effect.ended_page = false;
        m_effect.ended_printed_page = false;
        m_effect.glyph_after_end = false;
        m_effect.printed = false;
    }
    const ByteEffect& effect() const { return m_effect; }

    void glyph(const PclGlyph& glyph) override {
        m_effect.glyph_after_end = m_effect.glyph_after_end || m_effect.ended_page;
        m_effect.printed = m_effect.printed || glyph.visible();
    }
    void fill(const PclFill& fill) override {
        m_effect.printed = m_effect.printed || fill.grey < 255;
    }
    void raster_row(const PclRasterRow&) override { m_effect.printed = true; }
    void page_end(bool had_print, const PclState& page) override {
        m_effect.ended_page = true;
        if (had_print) {
            m_effect.landscape = page.landscape;
            m_effect.page_size = page.page_size;
        }
        m_effect.ended_printed_page = m_effect.ended_printed_page || had_print;
        m_effect.glyph_after_end = false;
        m_effect.printed = false;
        m_effect.after_end = m_printer->state();
    }

private:
    const PclPrinter* m_printer = nullptr;
    ByteEffect m_effect;
};

// A stretch of the job with the state it starts from.
struct Stretch {
    PclState start;
    std::string bytes;

    // A page ended within the last byte: the stretch starts again after it,
    // or, when the byte went on to print a character on the next page, at
    // the page's end with that byte read again.
    void restart_at_end(const ByteEffect& effect, unsigned char byte, const PclPrinter& printer) {
        bytes.clear();
        if (effect.glyph_after_end && effect.after_end) {
            start = *effect.after_end;
            bytes.push_back(static_cast<char>(byte));
        } else {
            start = printer.state();
        }
    }
    void shed(const PclPrinter& printer) {
        if (bytes.size() > kMostUnprintedBytes && !printer.state().page_has_print &&
            printer.between_sequences()) {
            start = printer.state();
            bytes.clear();
        }
    }
};

class PageCut {
public:
    PageCut(PrintJob& j, SourceFile& source)
        : m_feed(std::exchange(j.Pcl->Pending, {}), source), m_printer(m_events, j.Pcl->Carried) {
        m_events.watch(m_printer);
        m_page.start = j.Pcl->Carried;
    }

    bool read_page() {
        unsigned char byte = 0;
        while (m_feed.next(byte)) {
            m_events.start_byte();
            m_page.bytes.push_back(static_cast<char>(byte));
            m_printer.take(byte);
            const ByteEffect& effect = m_events.effect();
            if (effect.ended_printed_page) {
                m_landscape = effect.landscape;
                m_page_size = effect.page_size;
                m_next.restart_at_end(effect, byte, m_printer);
                m_next_printed = effect.printed;
                return true;
            }
            if (effect.ended_page) {
                m_page.restart_at_end(effect, byte, m_printer);
            } else {
                m_page.shed(m_printer);
            }
        }
        return false;
    }

    bool find_next_page() {
        unsigned char byte = 0;
        while (!m_next_printed && m_feed.next(byte)) {
            m_events.start_byte();
            m_next.bytes.push_back(static_cast<char>(byte));
            m_printer.take(byte);
            const ByteEffect& effect = m_events.effect();
            // A macro run by this byte printed the next page and ejected it:
            // that page is this stretch, the byte its last.
            if (effect.ended_printed_page) {
                m_next_printed = true;
                break;
            }
            if (effect.ended_page) {
                m_next.restart_at_end(effect, byte, m_printer);
            } else {
                m_next.shed(m_printer);
            }
            m_next_printed = effect.printed;
        }
        return m_next_printed || finish_prints();
    }

    // The job ends: a row it cut short is printed as far as it goes.
    bool finish_prints() {
        m_printer.finish();
        m_landscape = m_printer.state().landscape;
        m_page_size = m_printer.state().page_size;
        return m_printer.state().page_has_print;
    }

    Stretch& page() { return m_page; }
    Stretch& next() { return m_next; }
    bool landscape() const { return m_landscape; }
    int page_size() const { return m_page_size; }

private:
    ByteFeed m_feed;
    PageEvents m_events;
    PclPrinter m_printer;
    Stretch m_page;
    Stretch m_next;
    bool m_next_printed = false;
    bool m_landscape = false;
    int m_page_size = 26;
};

} // namespace

void read_pcl_page(PrintJob& j, SourceFile& source) {
    if (j.SourceDone) {
        j.PageText.clear();
        j.PrintText.clear();
        return;
    }
    PageCut cut(j, source);
    bool has_print = cut.read_page();
    bool more = false;
    bool landscape = cut.landscape();
    if (has_print) {
        more = cut.find_next_page();
    } else {
        has_print = cut.finish_prints();
        landscape = cut.landscape();
    }
    j.Pcl->PageStart = cut.page().start;
    j.PageText = has_print ? cut.page().bytes : std::string();
    j.PrintText = j.PageText;
    j.SourceDone = !more;
    if (more) {
        j.Pcl->Carried = cut.next().start;
        j.Pcl->Pending = std::move(cut.next().bytes);
    }
    if (has_print) {
        j.Orientation = landscape ? "L" : "P";
        j.Pcl->PagePaperSize = cut.page_size();
        j.PageNumber = checked_int16(j.PageNumber + 1, ErrorKind::TooManyPages, j.SourcePath);
    }
}

} // namespace kvalon
