#pragma once

#include "engine/escp/escp_printer.h"

namespace kvalon {

// What one byte of a report did to the printer's pages.
struct EscpByteEffect {
    bool ended_page = false;         // a page ended
    bool ended_printed_page = false; // a page with something printed on it ended
    bool glyph_after_end = false;    // a character was placed after the last end
    bool printed = false;            // something visible was printed after the last end
    EscpState after_end;             // the printer at the last end: the next page's start
};

// Watches a printer byte by byte for where its pages end, so that a page can
// be cut out of the report and printed again from the state it began with.
// A character that the right margin sends to the next line can end a page
// and then print on the next: that byte belongs to the next page, printed
// again from the state at the end. Any other byte that ends a page (a feed,
// a command of many feeds) ends it whole: the next page starts after it.
class EscpPageEvents final : public EscpOutput {
public:
    void watch(const EscpPrinter& printer) { m_printer = &printer; }
    // Before each byte.
    void start_byte() {
        m_effect.ended_page = false;
        m_effect.ended_printed_page = false;
        m_effect.glyph_after_end = false;
        m_effect.printed = false;
    }
    // After each byte. A character placed after the page's end waits in the
    // printer's line buffer: it too belongs to the next page.
    const EscpByteEffect& effect() {
        m_effect.glyph_after_end =
            m_effect.glyph_after_end || (m_effect.ended_page && m_printer->holds_line());
        return m_effect;
    }

    void glyph(const EscpGlyph& glyph) override {
        m_effect.glyph_after_end = m_effect.glyph_after_end || m_effect.ended_page;
        m_effect.printed = m_effect.printed || glyph.visible();
    }
    void dots(const EscpDots&) override { m_effect.printed = true; }
    void page_end(bool had_print) override {
        m_effect.ended_page = true;
        m_effect.ended_printed_page = m_effect.ended_printed_page || had_print;
        m_effect.glyph_after_end = false;
        m_effect.printed = false;
        m_effect.after_end = m_printer->state();
    }

private:
    const EscpPrinter* m_printer = nullptr;
    EscpByteEffect m_effect;
};

} // namespace kvalon
