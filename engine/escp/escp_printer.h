#pragma once

#include "engine/escp/escp_graphic.h"
#include "engine/escp/escp_parser.h"
#include "engine/escp/escp_state.h"

#include <cstdint>
#include <string_view>

namespace kvalon {

// One character as the printer prints it.
struct EscpGlyph {
    unsigned char code = 0; // the report's byte, after ESC = and ESC >
    // What it prints: the code page's character for the byte, or the one the
    // printer's tables (ESC t, ESC R) put in its place; 0 prints nothing.
    char32_t character = 0;
    bool by_printer_table = false; // the tables put another character, or italic, there
    std::int64_t x = 0;            // the top-left corner of its place
    std::int64_t y = 0;
    std::int64_t width = 0;        // how far the head moves on: double width and spacing included
    std::int64_t letter_width = 0; // the letter itself: double width, but no spacing
    std::int64_t height = 0;       // the line spacing in force: box characters reach across it
    bool bold = false;             // emphasized, double-strike or the bold marker
    bool italic = false;
    bool underline = false;
    bool double_width = false;

    // Leaves a mark on the paper: a character that is not a blank, or a line.
    bool visible() const;
};

// Where the printer's work goes, in the order of the report.
class EscpOutput {
public:
    virtual void glyph(const EscpGlyph&) {}
    virtual void dots(const EscpDots&) {}
    // The page ends (form feed, the form's length passed, a new top of form);
    // `had_print` tells whether anything visible stands on it.
    virtual void page_end(bool /*had_print*/) {}
    // LF, or VT: the printer goes to a new line.
    virtual void line_feed() {}

protected:
    ~EscpOutput() = default;
};

// An Epson-compatible (ESC/P, ESC/P 2) printer as a report drives it: the
// print head's place on the page in printer units (engine/escp/escp_state.h),
// moved by characters, spacing, tabs, margins and moves; pages of the form's
// length; attributes; bit images and raster graphics. Control bytes take no
// place; the bold marker (code 2) switches bold until the line ends. A DOS
// end-of-file mark (code 26) outside a sequence ends the report.
class EscpPrinter final : private EscpHandler {
public:
    explicit EscpPrinter(EscpOutput& output, const EscpState& start = {});

    void take(unsigned char byte);
    void take(std::string_view bytes);
    // The report ends: a picture its end cut short is printed as far as it goes.
    void finish();

    const EscpState& state() const { return m_state; }
    // No sequence is half read: the state alone says what comes next.
    bool between_sequences() const { return m_parser.between_sequences(); }
    // The report's end mark was read.
    bool ended() const { return m_ended; }

private:
    void on_text(unsigned char byte) override;
    void on_command(const EscpCommand& command) override;
    void on_graphics_start(const EscpCommand& command) override;
    void on_graphics_byte(unsigned char byte) override;
    void on_graphics_end() override;
    unsigned graphics_mode(unsigned char command) const override;

    void print_character(unsigned char code);
    void carriage_return();
    void line_feed();
    void form_feed();
    void vertical_tab();
    void horizontal_tab();
    void backspace();
    void feed(std::int64_t distance);
    void end_page();
    void top_of_form_here();

    bool apply_attribute(const EscpCommand& command);
    bool apply_pitch(const EscpCommand& command);
    bool apply_vertical(const EscpCommand& command);
    bool apply_page(const EscpCommand& command);
    bool apply_horizontal(const EscpCommand& command);
    void apply_extended(const EscpCommand& command);
    void apply_reset();
    void move_to(std::int64_t x);

    EscpParser m_parser;
    EscpOutput& m_output;
    EscpState m_state;
    EscpGraphic m_graphic;
    bool m_ended = false;
};

} // namespace kvalon
