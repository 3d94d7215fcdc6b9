#pragma once

#include "engine/escp/escp_graphic.h"
#include "engine/escp/escp_line_buffer.h"
#include "engine/escp/escp_output.h"
#include "engine/escp/escp_parser.h"
#include "engine/escp/escp_state.h"

#include <cstdint>
#include <string_view>

namespace kvalon {

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
    // Characters or dots wait in the line buffer, not yet printed.
    bool holds_line() const { return !m_line.empty(); }

private:
    void on_text(unsigned char byte) override;
    void on_command(const EscpCommand& command) override;
    void on_graphics_start(const EscpCommand& command) override;
    void on_graphics_byte(unsigned char byte) override;
    void on_graphics_end() override;
    unsigned graphics_mode(unsigned char command) const override;

    void print_character(unsigned char code);
    void hold(const EscpGlyph& glyph);
    void print_line();
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
    EscpLineBuffer m_line;
    bool m_ended = false;
};

} // namespace kvalon
