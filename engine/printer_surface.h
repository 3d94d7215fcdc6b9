#pragma once

#include "engine/bit_image.h"
#include "engine/job_preview.h"
#include "engine/page_area.h"

#include <string>
#include <string_view>

namespace kvalon {

// The one page surface everything is drawn on: the default printer, a chosen
// queue, the built-in PDF printer or, in tests, a recording fake.
//
// Units: after set_scale_mode(kScaleMillimetres) positions, lengths and text
// measures are millimetres; width_twips()/height_twips() are always twips
// (1440 to the inch) of the whole sheet in the current orientation; font sizes
// are points; the pen width is in device pixels. Paper sizes are Windows
// paper codes (9 = A4, 256 = user-defined). Orientation 1 is portrait,
// 2 landscape. Text handed to the surface is UTF-8.
class PrinterSurface {
public:
    static constexpr int kScaleMillimetres = 6;
    static constexpr int kPortrait = 1;
    static constexpr int kLandscape = 2;

    virtual ~PrinterSurface() = default;

    virtual void set_scale_mode(int mode) = 0;

    virtual double width_twips() const = 0;
    virtual double height_twips() const = 0;

    virtual int paper_size() const = 0;
    virtual void set_paper_size(int windows_code) = 0;
    // False when the printer has no A4 sheet: reports are then planned on
    // its own paper.
    virtual bool takes_a4() const { return true; }
    // True when each page may have a sheet of its own size (a PDF file);
    // a queue takes one size a job.
    virtual bool sheet_per_page() const { return false; }
    virtual int orientation() const = 0;
    virtual void set_orientation(int orientation) = 0;

    virtual void set_font_name(const std::string& face) = 0;
    virtual void set_font_size(float points) = 0;
    // The size the device really uses, which may differ from the request.
    virtual float font_size() const = 0;
    virtual void set_font_bold(bool bold) = 0;
    virtual bool font_bold() const = 0;
    // Slanted glyphs for the text that follows.
    virtual void set_font_italic(bool italic) = 0;
    // 1, or the factor each glyph that follows is stretched across by: 2 for
    // double width (the caller gives it two cells), less than 1 for narrow
    // print.
    virtual void set_font_width_scale(double scale) = 0;

    // Extent in the current font, millimetres. An empty string is one line
    // high; every CR LF adds one line.
    virtual float text_width(std::string_view utf8) = 0;
    virtual float text_height(std::string_view utf8) = 0;

    // Top-left corner of the next output; (0, 0) is the top-left of the
    // printable area at the start of every page.
    virtual float current_x() const = 0;
    virtual float current_y() const = 0;
    virtual void set_current_x(float mm) = 0;
    virtual void set_current_y(float mm) = 0;

    virtual int draw_width() const = 0;
    virtual void set_draw_width(int device_pixels) = 0;

    // A straight black line; the position ends at (x2, y2).
    virtual void line(float x1, float y1, float x2, float y2) = 0;
    // A rectangle filled with a grey level (0 black .. 255 white). Edges are
    // snapped to device pixels so that neighbouring cells touch without seams.
    virtual void fill_rect(float x, float y, float width, float height, int grey) = 0;
    // The black dots of `dots`, the picture stretched over the rectangle;
    // the dots that are not set leave what is under them.
    virtual void draw_image(float x, float y, float width, float height, const BitImage& dots) = 0;
    // Draws at the position in the current font. With a line break the
    // position then goes to x 0, one line height of the current font down.
    virtual void print(std::string_view utf8, bool line_break) = 0;

    virtual void new_page() = 0;
    // Goes back to the page the last new_page() ended, to the place where its
    // output stopped, so that more can stand under it before end_doc(): the
    // footer of an interactive job whose last page was never printed. False,
    // and nothing changes, when no ended page waits (no document is open, or
    // output has begun on the next page). A surface that hands each page over
    // at new_page() cannot go back and keeps this default.
    virtual bool return_to_last_page() { return false; }
    // Ends the document and hands it to the printing system. Throws
    // KvalonError when the printing system did not take it whole.
    virtual void end_doc() = 0;
    // Ends a document left open (pages printed from the preview before it
    // closed) as end_doc() does; nothing when no document is open.
    virtual void finish_document() = 0;
    // Drops a document left open: nothing of it reaches the printer. A job
    // that failed on the way calls this. Never throws.
    virtual void abandon_document() noexcept = 0;
    // True when the document last ended had nothing on any of its pages: no
    // letter, line, fill or dot.
    virtual bool last_document_blank() const { return false; }
    // The title queues and PDF readers show for the documents that follow.
    virtual void set_document_title(const std::string& title) = 0;

    // Where the plan puts the page's cells, given before they are drawn: a
    // printer that cannot print up to the sheet's edges may move the page so
    // that they stay within what it prints. The plan itself is not changed.
    virtual void set_cell_area(const PageArea& /*area*/) {}
    // What the next document will be sent with, for pages with `cells` as
    // planned now.
    virtual JobPreview job_preview(const PageArea& /*cells*/) { return {}; }

    virtual int font_count() const = 0;
    virtual std::string font(int index) const = 0;
    virtual std::string device_name() const = 0;
};

// The current printer surface; the program binds it once at start-up.
PrinterSurface& printer();
bool has_printer();
void set_printer(PrinterSurface* surface);

// Binds printer() to `surface` for a scope: a document of its own drawn by
// the same procedures. The printer found is bound again when the scope ends,
// however it ends.
class ScopedPrinter {
public:
    explicit ScopedPrinter(PrinterSurface& surface)
        : m_previous(has_printer() ? &printer() : nullptr) {
        set_printer(&surface);
    }
    ~ScopedPrinter() { set_printer(m_previous); }
    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;

private:
    PrinterSurface* m_previous;
};

} // namespace kvalon
