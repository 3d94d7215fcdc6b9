#include "engine/escp/escp_page_reader.h"

#include "engine/byte_feed.h"
#include "engine/checked.h"
#include "engine/error.h"
#include "engine/escp/escp_page_events.h"
#include "engine/source_file.h"

#include <string>
#include <utility>

namespace kvalon {

namespace {

// Bytes before anything is printed on a page are dropped once there are this
// many, from a place between sequences: the page starts there with the state
// they left, so a report of nothing but control bytes does not fill memory.
constexpr std::size_t kMostUnprintedBytes = std::size_t{1} << 16;

// A stretch of the report with the state it starts from.
struct Stretch {
    EscpState start;
    std::string bytes;

    // A page ended within the last byte: the stretch starts again after it,
    // or, when the byte went on to print a character on the next page, at
    // the page's end with that byte printed again.
    void restart_at_end(const EscpByteEffect& effect, unsigned char byte,
                        const EscpPrinter& printer) {
        bytes.clear();
        if (effect.glyph_after_end) {
            start = effect.after_end;
            bytes.push_back(static_cast<char>(byte));
        } else {
            start = printer.state();
        }
    }
    // Nothing printed so far: the bytes read are only a state.
    void shed(const EscpPrinter& printer) {
        if (bytes.size() > kMostUnprintedBytes && !printer.state().page_has_print &&
            !printer.holds_line() && printer.between_sequences()) {
            start = printer.state();
            bytes.clear();
        }
    }
};

class PageCut {
public:
    PageCut(PrintJob& j, SourceFile& source)
        : m_feed(std::exchange(j.Escp->Pending, {}), source), m_printer(m_events, j.Escp->Carried) {
        m_events.watch(m_printer);
        m_page.start = j.Escp->Carried;
    }

    // Reads up to the end of the next printed page; false at the report's end.
    bool read_page() {
        unsigned char byte = 0;
        while (!m_printer.ended() && m_feed.next(byte)) {
            m_events.start_byte();
            m_page.bytes.push_back(static_cast<char>(byte));
            m_printer.take(byte);
            const EscpByteEffect& effect = m_events.effect();
            if (effect.ended_printed_page) {
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

    // Reads on until something is printed on the next page: true when there
    // is such a page, whose bytes so far are then kept for the job.
    bool find_next_page() {
        unsigned char byte = 0;
        while (!m_next_printed && !m_printer.ended() && m_feed.next(byte)) {
            m_events.start_byte();
            m_next.bytes.push_back(static_cast<char>(byte));
            m_printer.take(byte);
            const EscpByteEffect& effect = m_events.effect();
            // A line printed as its page ends (the line buffer printed by
            // the feed) makes that page the next: its bytes are all kept.
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

    // The report ends: a picture it cut short is printed as far as it goes.
    bool finish_prints() {
        m_printer.finish();
        return m_printer.state().page_has_print;
    }

    Stretch& page() { return m_page; }
    Stretch& next() { return m_next; }

private:
    ByteFeed m_feed;
    EscpPageEvents m_events;
    EscpPrinter m_printer;
    Stretch m_page;
    Stretch m_next;
    bool m_next_printed = false;
};

} // namespace

void read_escp_page(PrintJob& j, SourceFile& source) {
    if (j.SourceDone) {
        // The last printed page was taken: whatever follows prints nothing.
        j.PageText.clear();
        j.PrintText.clear();
        return;
    }
    PageCut cut(j, source);
    bool has_print = cut.read_page();
    bool more = false;
    if (has_print) {
        more = cut.find_next_page();
    } else {
        has_print = cut.finish_prints();
    }
    j.Escp->PageStart = cut.page().start;
    j.PageText = has_print ? cut.page().bytes : std::string();
    j.PrintText = j.PageText;
    j.SourceDone = !more;
    if (more) {
        j.Escp->Carried = cut.next().start;
        j.Escp->Pending = std::move(cut.next().bytes);
    }
    if (has_print) {
        j.PageNumber = checked_int16(j.PageNumber + 1, ErrorKind::TooManyPages, j.SourcePath);
    }
}

} // namespace kvalon
