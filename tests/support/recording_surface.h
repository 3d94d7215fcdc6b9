#pragma once

#include "engine/printer_surface.h"

#include <string>
#include <vector>

namespace kvalon::testing {

// A printer surface that records every drawing call as one line of text:
//   Print x=12.70 y=25.40 "A" bold=1   (italic=1, wide=2.00 added when set)
//   Line 10.00 20.00 15.00 20.00 w=4
//   Fill 1.00 2.00 3.00 4.00 grey=128
//   Image 1.00 2.00 3.00 4.00 cols=8 rows=8 dots=12
//   NewPage / EndDoc
//   ReturnToLastPage (only right after NewPage; back to where that page ended)
//   FinishDocument / AbandonDocument (only while a document is open)
// Numbers have two decimals in the classic locale. Its font is monospaced:
// each character is `advance_em` of the size wide, each line `line_em` high.
class RecordingSurface final : public PrinterSurface {
public:
    double paper_width_twips = 11906; // A4 portrait
    double paper_height_twips = 16838;
    int paper_code = 9;
    double advance_em = 0.6;
    double line_em = 1705.0 / 2048 + 615.0 / 2048;
    // Sizes the device takes are rounded to this step of points (0 = exact).
    double size_step = 0;
    std::vector<std::string> fonts = {"DejaVu Sans", "CourierCyr"};
    std::vector<std::string> log;

    void set_scale_mode(int mode) override { scale_mode = mode; }
    double width_twips() const override;
    double height_twips() const override;
    int paper_size() const override { return paper_code; }
    void set_paper_size(int windows_code) override;
    int orientation() const override { return m_orientation; }
    void set_orientation(int o) override { m_orientation = o; }
    void set_font_name(const std::string& face) override { font_name = face; }
    void set_font_size(float points) override;
    float font_size() const override { return m_points; }
    void set_font_bold(bool bold) override { m_bold = bold; }
    bool font_bold() const override { return m_bold; }
    void set_font_italic(bool italic) override { m_italic = italic; }
    void set_font_width_scale(double scale) override { m_width_scale = scale; }
    float text_width(std::string_view utf8) override;
    float text_height(std::string_view utf8) override;
    float current_x() const override { return m_x; }
    float current_y() const override { return m_y; }
    void set_current_x(float mm) override { m_x = mm; }
    void set_current_y(float mm) override { m_y = mm; }
    int draw_width() const override { return m_draw_width; }
    void set_draw_width(int pixels) override { m_draw_width = pixels; }
    void line(float x1, float y1, float x2, float y2) override;
    void fill_rect(float x, float y, float width, float height, int grey) override;
    void draw_image(float x, float y, float width, float height, const BitImage& dots) override;
    bool last_document_blank() const override { return m_last_blank; }
    void print(std::string_view utf8, bool line_break) override;
    void new_page() override;
    bool return_to_last_page() override;
    void end_doc() override;
    void finish_document() override;
    void abandon_document() noexcept override;
    void set_document_title(const std::string& title) override { document_title = title; }
    int font_count() const override { return static_cast<int>(fonts.size()); }
    std::string font(int index) const override;
    std::string device_name() const override { return "Recording"; }

    int scale_mode = 0;
    std::string font_name;
    std::string document_title;
    int text_width_calls = 0;

    // The log as one string, a line per call.
    std::string joined_log() const;

private:
    float m_points = 12;
    bool m_bold = false;
    bool m_italic = false;
    double m_width_scale = 1;
    float m_x = 0;
    float m_y = 0;
    int m_draw_width = 1;
    int m_orientation = kPortrait;
    bool m_document_open = false; // drawn on since the last EndDoc
    bool m_page_ended = false;    // NewPage was the last drawing call
    float m_ended_x = 0;          // where the ended page's output stopped
    float m_ended_y = 0;
    bool m_marked = false;
    bool m_last_blank = false;
};

// Two decimals, classic locale.
std::string two_decimals(double value);
// Number of UTF-8 code points.
std::size_t code_points(std::string_view utf8);

} // namespace kvalon::testing
