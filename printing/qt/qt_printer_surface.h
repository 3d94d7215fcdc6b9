#pragma once

#include "printing/printer_surface.h"

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

class QPrinter;

namespace kvalon {

// Where a document goes: a CUPS queue, or the built-in PDF printer writing a
// file.
struct PrinterTarget {
    enum class Kind { Cups, Pdf };
    Kind kind = Kind::Pdf;
    std::string queue;    // CUPS queue name
    std::string pdf_path; // output file of the PDF printer
    int paper_code = 9;   // Windows paper code of the PDF printer
    int copies = 1;
};

// The printer surface over Qt's print support. Cells are gathered per page and
// drawn in a few calls: positioned glyph runs per font, strokes merged and
// drawn with drawLines, fills as they come. A PDF is written to a temporary
// file beside its target and renamed over it only when complete.
class QtPrinterSurface final : public PrinterSurface {
public:
    explicit QtPrinterSurface(const PrinterTarget& target);
    ~QtPrinterSurface() override;
    QtPrinterSurface(const QtPrinterSurface&) = delete;
    QtPrinterSurface& operator=(const QtPrinterSurface&) = delete;

    void set_scale_mode(int mode) override;
    double width_twips() const override;
    double height_twips() const override;
    int paper_size() const override;
    void set_paper_size(int windows_code) override;
    int orientation() const override;
    void set_orientation(int orientation) override;
    void set_font_name(const std::string& face) override;
    void set_font_size(float points) override;
    float font_size() const override;
    void set_font_bold(bool bold) override;
    bool font_bold() const override;
    // Kept for the page description; the glyphs are not drawn slanted or
    // stretched yet.
    void set_font_italic(bool italic) override { m_italic = italic; }
    void set_font_width_scale(int scale) override { m_width_scale = scale; }
    float text_width(std::string_view utf8) override;
    float text_height(std::string_view utf8) override;
    float current_x() const override { return m_x; }
    float current_y() const override { return m_y; }
    void set_current_x(float mm) override { m_x = mm; }
    void set_current_y(float mm) override { m_y = mm; }
    int draw_width() const override { return m_draw_width; }
    void set_draw_width(int device_pixels) override { m_draw_width = device_pixels; }
    void line(float x1, float y1, float x2, float y2) override;
    void fill_rect(float x, float y, float width, float height, int grey) override;
    void print(std::string_view utf8, bool line_break) override;
    void new_page() override;
    void end_doc() override;
    int font_count() const override;
    std::string font(int index) const override;
    std::string device_name() const override;

    // A document left open (the preview closed before the last page) is ended
    // and handed over; throws like end_doc().
    void hand_over_open_document();
    // A job that failed on the way drops what it drew: no job reaches the
    // queue and no PDF file is put in place of the target.
    void abandon_document();
    bool document_open() const { return m_painter.isActive(); }
    int resolution() const;

private:
    struct FaceMetrics {
        QFont font;
        QRawFont raw;
        double ascent_px = 0;
        double line_spacing_px = 0;
        // Glyph index and advance in pixels. The letters and symbols of our
        // code pages lie below U+2600 and are kept in a table.
        std::vector<std::pair<quint32, double>> table;
        std::vector<bool> known;
        std::unordered_map<char32_t, std::pair<quint32, double>> others;
        // The glyphs of the page being drawn in this face, with their
        // positions in device pixels.
        std::vector<quint32> page_glyphs;
        std::vector<QPointF> page_positions;
    };
    using FaceKey = std::tuple<std::string, int, bool>; // face, pixel size, bold

    FaceMetrics& metrics();
    const std::pair<quint32, double>& glyph(FaceMetrics& face, char32_t code_point);
    int pixel_size() const;
    double to_px(float mm) const;
    float to_mm(double px) const;
    void begin_document();
    // Output after new_page() starts the next sheet; a document that ends
    // right after new_page() gets no empty sheet at its end.
    void begin_output();
    void flush_page();
    void flush_strokes();
    void reset_position();
    [[noreturn]] void fail(const std::string& what);
    void choose_part_path();
    void put_pdf_in_place();
    void check_queue();
    void confirm_job_taken();
    static bool synced(const std::string& path);
    // Drops an unfinished document: no job for the queue, no PDF file.
    void discard_document();

    PrinterTarget m_target;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QString m_part_path;          // PDF being written, renamed at the end of the document
    int m_jobs_before = 0;        // newest job of ours on the queue before this document
    bool m_stream_target = false; // the PDF target is a device or pipe, copied into
    int m_paper_code = 9;
    std::string m_face;
    float m_points = 12;
    bool m_bold = false;
    bool m_italic = false;
    int m_width_scale = 1;
    float m_x = 0;
    float m_y = 0;
    int m_draw_width = 1;
    int m_resolution = 600;
    mutable QStringList m_families;        // the font list as last counted
    FaceMetrics* m_current_face = nullptr; // the face of the current font settings
    bool m_page_pending = false;
    std::map<FaceKey, FaceMetrics> m_metrics;
    std::map<int, std::vector<QLineF>> m_strokes; // by pen width
};

} // namespace kvalon
