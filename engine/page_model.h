#pragma once

#include "engine/page_area.h"

#include <string>
#include <string_view>

namespace kvalon {

class PrinterSurface;
class SourceFile;
struct PrintJob;

// What the printing layer draws letters with, for any printer language: the
// report's page of cells as the text mode prints it, and one letter in a
// cell of its own size (millimetres), by the report's byte in the job's code
// page or by the character a printer's own tables put there.
class CellPainter {
public:
    virtual void paint_text_page(const PrintJob& j, PrinterSurface& surface) = 0;
    virtual void paint_code(unsigned char code, float x, float y, float width, float height) = 0;
    virtual void paint_character(char32_t character, float x, float y, float width,
                                 float height) = 0;

protected:
    ~CellPainter() = default;
};

// The lines of the plan report (startup/plan_report.h), each a name and its
// value; a measure is written as every measure of the plan is.
class PlanLines {
public:
    virtual void add(const char* name, const std::string& value) = 0;
    virtual void add_measure(const char* name, double value) = 0;

protected:
    ~PlanLines() = default;
};

// A printer language: how the bytes of a report become planned pages, and
// what each page prints - letters, strokes, fills and dots - on the surface.
// One model per language, chosen from the job (engine/printer_language.h).
class PageModel {
public:
    // The source is read as lines (its bytes tell a line's width as they
    // come) rather than as bytes whose printed width is known only later.
    virtual bool reads_lines() const = 0;
    // Plans the report, after planning has reset the job, refused documents
    // and measured the paper; leaves the source open at its start.
    virtual void plan(PrintJob& j, PrinterSurface& surface) const = 0;
    // Takes the next page into j.PageText and j.PrintText (plan_layout.h).
    virtual void read_page(PrintJob& j, SourceFile& source) const = 0;
    // The letters of a sample of the report, the language's sequences left
    // out: what its code page is told from.
    virtual std::string letters_of(std::string_view sample) const = 0;
    // The page on view as the preview shows it.
    virtual std::string screen_page(const PrintJob& j) const = 0;
    // LongestLine counts every printed cell: the planned span of a line always
    // holds the widest one.
    virtual bool longest_line_is_printed_width() const = 0;
    // The plan report's lines of the language's own.
    virtual void add_plan_lines(const PrintJob& j, PlanLines& lines) const = 0;
    // Where planning put the printed page on the sheet (millimetres).
    virtual PageArea printed_area(const PrintJob& j) const = 0;
    // Draws j.PrintText on the surface, letters through `cells`.
    virtual void draw_page(const PrintJob& j, PrinterSurface& surface,
                           CellPainter& cells) const = 0;

protected:
    ~PageModel() = default;
};

} // namespace kvalon
