#pragma once

#include "engine/paper_codes.h"
#include "engine/printer_surface.h"
#include "engine/sheet_offset.h"
#include "engine/units.h"
#include "printing/document_sink.h"
#include "printing/page_batch.h"
#include "printing/paper_sizes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvalon {

class FaceMetrics;
class FaceSource;

// What a surface is set up with for its target.
struct SurfaceSetup {
    PaperSize paper;             // the sheet the target starts on
    int paper_code = PaperA4;    // its Windows paper code
    int resolution = DrawingDpi; // device pixels to the inch: fonts are whole pixels
    std::string device_name;     // as the print data show it
    int copies = 1;
    bool takes_a4 = true; // the target has an A4 sheet
    bool sheet_per_page = false;
    SheetOffset offset; // every page moved by it on the sheet, for the printer's feed
    // What a document with this info and pages like this sheet would be sent
    // with (the destination's own description); unset: nothing to tell.
    std::function<JobPreview(const DocumentInfo&, const PageDescription&)> describe_job;
};

// The printer surface of every target: measures with the faces of its face
// source, gathers each page's cells into one page description and hands the
// finished pages to its document sink.
class PageSurface final : public PrinterSurface {
public:
    PageSurface(const SurfaceSetup& setup, std::shared_ptr<FaceSource> faces,
                std::unique_ptr<DocumentSink> sink);
    // An unfinished document is abandoned, never handed over.
    ~PageSurface() override;
    PageSurface(const PageSurface&) = delete;
    PageSurface& operator=(const PageSurface&) = delete;

    void set_scale_mode(int mode) override;
    double width_twips() const override;
    double height_twips() const override;
    int paper_size() const override { return m_paper_code; }
    bool takes_a4() const override { return m_takes_a4; }
    bool sheet_per_page() const override { return m_sheet_per_page; }
    void set_paper_size(int windows_code) override;
    int orientation() const override;
    void set_orientation(int orientation) override;
    void set_font_name(const std::string& face) override;
    void set_font_size(float points) override;
    float font_size() const override;
    void set_font_bold(bool bold) override;
    bool font_bold() const override { return m_bold; }
    void set_font_italic(bool italic) override;
    void set_font_width_scale(double scale) override;
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
    void draw_image(float x, float y, float width, float height, const BitImage& dots) override;
    void print(std::string_view utf8, bool line_break) override;
    void new_page() override;
    bool return_to_last_page() override;
    void end_doc() override;
    void finish_document() override;
    void abandon_document() noexcept override;
    bool last_document_blank() const override { return m_last_blank; }
    void set_document_title(const std::string& title) override { m_title = title; }
    void set_cell_area(const PageArea& area) override { m_cell_area = area; }
    JobPreview job_preview(const PageArea& cells) override;
    int font_count() const override;
    std::string font(int index) const override;
    std::string device_name() const override { return m_device_name; }

    int resolution() const { return m_resolution; }
    // The setup a surface needs to draw as this one does now: its paper as set,
    // resolution, name, copies and description.
    SurfaceSetup setup() const;
    const std::shared_ptr<FaceSource>& faces() const { return m_faces; }

private:
    FaceMetrics& face();
    std::size_t page_face();
    int pixel_size() const;
    double to_px(float mm) const { return static_cast<double>(mm) * m_resolution / MmPerInch; }
    double px_to_mm(double px) const { return px * MmPerInch / m_resolution; }
    PageDescription sheet() const;
    DocumentInfo document_info() const;
    void begin_document();
    // Output after new_page() hands the ended page over and starts the next
    // sheet; a document that ends right after new_page() gets no empty sheet
    // at its end.
    void begin_output();
    void open_page();
    void emit_page();
    PageDescription offset_page(PageDescription page);
    void font_changed();

    std::shared_ptr<FaceSource> m_faces;
    std::unique_ptr<DocumentSink> m_sink;
    PaperSize m_paper;
    bool m_landscape = false;
    int m_paper_code;
    bool m_takes_a4;
    bool m_sheet_per_page;
    int m_resolution;
    std::string m_device_name;
    int m_copies;
    std::function<JobPreview(const DocumentInfo&, const PageDescription&)> m_describe_job;
    SheetOffset m_offset;
    bool m_told_off_sheet = false; // the document was told its offset pushes cells off
    std::string m_title;
    PageArea m_cell_area;
    std::string m_face;
    float m_points = 12;
    bool m_bold = false;
    bool m_italic = false;
    double m_width_scale = 1;
    float m_x = 0;
    float m_y = 0;
    int m_draw_width = 1;
    mutable std::vector<std::string> m_families; // the font list as last counted
    FaceMetrics* m_current_face = nullptr;       // the face of the current font settings
    std::size_t m_page_face = 0;                 // its index on the page being drawn
    bool m_page_face_known = false;
    PageBatch m_batch;
    bool m_page_open = false;
    // new_page() ended the page in the batch; it stays there, with the place
    // its output stopped, until output begins on the next page.
    bool m_page_pending = false;
    float m_ended_x = 0;
    float m_ended_y = 0;
    bool m_marked = false;     // something was drawn in the open document
    bool m_last_blank = false; // the document ended last had nothing drawn
};

} // namespace kvalon
