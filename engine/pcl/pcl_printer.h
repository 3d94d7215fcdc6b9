#pragma once

#include "engine/bit_image.h"
#include "engine/pcl/pcl_parser.h"
#include "engine/pcl/pcl_state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvalon {

// Places in the events are on the page as it lies, from its top-left corner
// (1/7200 inch).

// One character as the printer prints it.
struct PclGlyph {
    unsigned char code = 0;
    // Set when a symbol set was chosen: the character it puts there; else
    // the byte is read in the report's code page.
    bool by_symbol_set = false;
    char32_t character = 0;
    std::int64_t x = 0;        // the left edge of its place
    std::int64_t baseline = 0; // the line it stands on
    // The letter's own width, its font's pitch; the cursor moves on by the
    // HMI, which may space letters apart or print them over each other.
    std::int64_t width = 0;
    std::int64_t line = 0; // the VMI in force: box characters reach across it
    double points = 12;    // its height
    bool bold = false;
    bool italic = false;

    bool visible() const;
};

// A filled rectangle: grey 0 black .. 255 white, or black lines of the
// cross-hatch pattern `hatch` (1..6) over it, the gaps left as they are.
struct PclFill {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int grey = 0;
    int hatch = 0;
};

// One row of raster graphics, its dots `dot` apart across and down.
struct PclRasterRow {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t dot = 0;
    BitImage image;
    std::int64_t right = 0; // the right edge of its rightmost dot
};

// Where the printer's work goes, in the order of the job.
class PclOutput {
public:
    virtual void glyph(const PclGlyph&) {}
    virtual void fill(const PclFill&) {}
    virtual void raster_row(const PclRasterRow&) {}
    // The page is ejected; `had_print` tells whether anything stands on it,
    // `page` is the printer as the page ends, its size and orientation.
    virtual void page_end(bool /*had_print*/, const PclState& /*page*/) {}
    virtual void line_feed() {}

protected:
    ~PclOutput() = default;
};

// A PCL 5 printer as a LaserJet reads a job: the page, its logical page and
// margins, the cursor moved by text, control codes and positioning in rows
// and columns, dots and decipoints; fonts by their characteristics, symbol
// sets and underline; rectangles filled black, white, shaded or hatched;
// raster graphics in compression modes 0 to 3; macros and overlays. PJL,
// HP-GL/2 and downloaded fonts are read past. Nothing outside the logical page across,
// or the page down, is printed.
class PclPrinter final : private PclHandler {
public:
    PclPrinter(PclOutput& output, const PclState& start);

    void take(unsigned char byte);
    void take(std::string_view bytes);
    // The job ends: a row cut short is printed as far as it goes.
    void finish();

    const PclState& state() const { return m_state; }
    bool between_sequences() const { return m_state.parser.between_sequences(); }

private:
    void on_text(unsigned char byte) override;
    void on_command(const PclCommand& command) override;
    void on_data(const PclCommand& command, unsigned char byte) override;
    void on_data_end(const PclCommand& command) override;

    void take_pjl(unsigned char byte);
    void print_character(unsigned char code);
    void underline(const PclGlyph& glyph, std::int64_t advance);
    void carriage_return();
    void line_feed();
    void form_feed();
    void horizontal_tab();
    void backspace();
    void end_page();
    void reset();
    void exit_to_pjl();
    void fonts_changed();

    bool apply_job(const PclCommand& command);
    bool apply_page(const PclCommand& command);
    bool apply_cursor(const PclCommand& command);
    bool apply_font(const PclCommand& command);
    bool apply_rectangle(const PclCommand& command);
    bool apply_raster(const PclCommand& command);
    bool apply_macro(const PclCommand& command);
    void end_definition();
    void run_macro(int id, bool keep_settings_apart);
    void run_bytes(const std::string& bytes);
    void restore_settings(const PclState& before);
    void run_overlay();
    void start_raster(bool at_cursor);
    void raster_row();
    void move_x(std::int64_t x);
    void move_y(std::int64_t y);

    PclOutput& m_output;
    PclState m_state;
};

} // namespace kvalon
