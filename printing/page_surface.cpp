#include "printing/page_surface.h"

#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/units.h"
#include "printing/face_metrics.h"
#include "printing/sheet_placement.h"
#include "printing/utf8_walk.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

double twips_of(double mm) {
    return std::round(mm * TwipsPerInch / MmPerInch);
}

std::string off_sheet_note(const SheetOffset& offset) {
    return messages::kOffsetOffSheet + sheet_offset_text(offset) + messages::kOffsetOffSheetEnd;
}

} // namespace

PageSurface::PageSurface(const SurfaceSetup& setup, std::shared_ptr<FaceSource> faces,
                         std::unique_ptr<DocumentSink> sink)
    : m_faces(std::move(faces)), m_sink(std::move(sink)), m_paper(setup.paper),
      m_paper_code(setup.paper_code), m_takes_a4(setup.takes_a4),
      m_sheet_per_page(setup.sheet_per_page), m_resolution(setup.resolution),
      m_device_name(setup.device_name), m_copies(setup.copies), m_describe_job(setup.describe_job),
      m_offset(setup.offset) {}

PageSurface::~PageSurface() {
    abandon_document();
}

void PageSurface::set_scale_mode(int) {
    // Millimetres are the only scale the program uses.
}

double PageSurface::width_twips() const {
    return twips_of(m_landscape ? m_paper.height_mm : m_paper.width_mm);
}

double PageSurface::height_twips() const {
    return twips_of(m_landscape ? m_paper.width_mm : m_paper.height_mm);
}

void PageSurface::set_paper_size(int windows_code) {
    PaperSize paper = paper_for_code(windows_code);
    if (paper.is_valid()) {
        m_paper = std::move(paper);
        m_paper_code = windows_code;
    }
}

int PageSurface::orientation() const {
    return m_landscape ? kLandscape : kPortrait;
}

void PageSurface::set_orientation(int orientation) {
    m_landscape = orientation == kLandscape;
}

// The face of the current settings is looked up once after a change, not for
// every character.
void PageSurface::font_changed() {
    m_current_face = nullptr;
    m_page_face_known = false;
}

void PageSurface::set_font_name(const std::string& face) {
    if (face != m_face) {
        m_face = face;
        font_changed();
    }
}

void PageSurface::set_font_size(float points) {
    if (points != m_points) {
        m_points = points;
        font_changed();
    }
}

void PageSurface::set_font_bold(bool bold) {
    if (bold != m_bold) {
        m_bold = bold;
        font_changed();
    }
}

// Slant and width change how glyphs are drawn, not how they measure.
void PageSurface::set_font_italic(bool italic) {
    if (italic != m_italic) {
        m_italic = italic;
        m_page_face_known = false;
    }
}

void PageSurface::set_font_width_scale(double scale) {
    if (scale != m_width_scale) {
        m_width_scale = scale;
        m_page_face_known = false;
    }
}

// Fonts are set in whole device pixels; the size read back is the one used.
int PageSurface::pixel_size() const {
    const int pixels =
        static_cast<int>(std::lround(static_cast<double>(m_points) * m_resolution / PointsPerInch));
    return pixels > 0 ? pixels : 1;
}

float PageSurface::font_size() const {
    return static_cast<float>(pixel_size() * PointsPerInch / m_resolution);
}

FaceMetrics& PageSurface::face() {
    if (m_current_face == nullptr) {
        m_current_face = &m_faces->face(m_face, pixel_size(), m_bold);
    }
    return *m_current_face;
}

std::size_t PageSurface::page_face() {
    if (!m_page_face_known) {
        PageFace page_face;
        page_face.family = m_face;
        page_face.points = font_size();
        page_face.bold = m_bold;
        page_face.italic = m_italic;
        page_face.width_scale = m_width_scale;
        m_page_face = m_batch.face_index(page_face);
        m_page_face_known = true;
    }
    return m_page_face;
}

float PageSurface::text_width(std::string_view utf8) {
    FaceMetrics& measured = face();
    double widest = 0;
    double width = 0;
    for_each_code_point(utf8, [&](char32_t c) {
        if (c == U'\r' || c == U'\n') {
            width = 0;
            return;
        }
        width += measured.advance_px(c);
        widest = std::max(widest, width);
    });
    return static_cast<float>(px_to_mm(widest));
}

float PageSurface::text_height(std::string_view utf8) {
    std::size_t lines = 1;
    for (std::size_t at = utf8.find("\r\n"); at != std::string_view::npos;
         at = utf8.find("\r\n", at + 2)) {
        ++lines;
    }
    return static_cast<float>(px_to_mm(static_cast<double>(lines) * face().line_spacing_px()));
}

PageDescription PageSurface::sheet() const {
    PageDescription sheet;
    sheet.width_mm = m_landscape ? m_paper.height_mm : m_paper.width_mm;
    sheet.height_mm = m_landscape ? m_paper.width_mm : m_paper.height_mm;
    sheet.width_points = m_landscape ? m_paper.height_points : m_paper.width_points;
    sheet.height_points = m_landscape ? m_paper.width_points : m_paper.height_points;
    sheet.landscape = m_landscape;
    sheet.dpi = m_resolution;
    sheet.cells = m_cell_area;
    return sheet;
}

DocumentInfo PageSurface::document_info() const {
    DocumentInfo info{m_title, m_copies};
    info.paper_width_mm = m_paper.width_mm;
    info.paper_height_mm = m_paper.height_mm;
    return info;
}

JobPreview PageSurface::job_preview(const PageArea& cells) {
    PageDescription planned = sheet();
    planned.cells = offset_area(cells, m_offset);
    planned.offset = m_offset;
    JobPreview preview = m_describe_job ? m_describe_job(document_info(), planned) : JobPreview{};
    preview.offset = m_offset;
    if (preview.note.empty() &&
        !lies_on_sheet(planned.cells, planned.width_mm, planned.height_mm)) {
        preview.note = off_sheet_note(m_offset);
    }
    return preview;
}

// The position is not touched: new_page(), end_doc() and abandon_document()
// put it at the page's corner, and a caller may have placed the first
// output of the page before it begins.
void PageSurface::open_page() {
    m_batch.start(sheet());
    m_page_face_known = false;
    m_page_open = true;
}

void PageSurface::begin_document() {
    if (!m_sink->is_open()) {
        m_sink->begin(document_info());
        m_marked = false;
        m_told_off_sheet = false;
        m_page_pending = false;
        open_page();
    }
}

void PageSurface::begin_output() {
    // Nearly every call finds its page open: one test, no call to the sink.
    if (m_page_open && !m_page_pending) {
        return;
    }
    begin_document();
    if (m_page_pending) {
        m_page_pending = false;
        emit_page();
        open_page();
    }
}

void PageSurface::emit_page() {
    m_page_open = false;
    m_page_face_known = false;
    m_sink->add_page(offset_page(m_batch.take()));
}

// The offset moves the print, cells and all, after everything was drawn
// where the plan put it; the user hears once a document when that pushes
// cells off the sheet.
PageDescription PageSurface::offset_page(PageDescription page) {
    if (m_offset.is_zero()) {
        return page;
    }
    move_page(page, PagePlacement{m_offset.across_mm, m_offset.down_mm, true});
    page.offset = m_offset;
    if (!m_told_off_sheet && !lies_on_sheet(page.cells, page.width_mm, page.height_mm)) {
        m_told_off_sheet = true;
        tell_user(off_sheet_note(m_offset));
    }
    return page;
}

void PageSurface::line(float x1, float y1, float x2, float y2) {
    begin_output();
    m_batch.add_stroke({x1, y1, x2, y2, px_to_mm(m_draw_width)});
    m_marked = true;
    m_x = x2;
    m_y = y2;
}

// Edges on device pixels: neighbouring cells touch without seams.
void PageSurface::fill_rect(float x, float y, float width, float height, int grey) {
    begin_output();
    const double left = std::round(to_px(x));
    const double top = std::round(to_px(y));
    const double right = std::round(to_px(x + width));
    const double bottom = std::round(to_px(y + height));
    m_batch.add_fill(
        {px_to_mm(left), px_to_mm(top), px_to_mm(right - left), px_to_mm(bottom - top), grey});
    m_marked = true;
}

void PageSurface::draw_image(float x, float y, float width, float height, const BitImage& dots) {
    begin_output();
    m_marked = m_marked || dots.any_dot();
    m_batch.add_image(PlacedImage{x, y, width, height, dots});
}

// Called once for nearly every cell: the face and its place on the page are
// looked up only after a change.
void PageSurface::print(std::string_view utf8, bool line_break) {
    begin_output();
    FaceMetrics& current = m_current_face != nullptr ? *m_current_face : face();
    const std::size_t index = m_page_face_known ? m_page_face : page_face();
    const double mm_per_px = MmPerInch / m_resolution;
    double x_px = to_px(m_x);
    const double baseline = (to_px(m_y) + current.ascent_px()) * mm_per_px;
    for_each_code_point(utf8, [&](char32_t c) {
        if (c != U' ') {
            m_batch.add_glyph(index, baseline, PlacedGlyph{c, x_px * mm_per_px});
            m_marked = true;
        }
        x_px += current.advance_px(c);
    });
    m_x = static_cast<float>(x_px * mm_per_px);
    if (line_break) {
        m_x = 0;
        m_y += static_cast<float>(px_to_mm(current.line_spacing_px()));
    }
}

// The ended page is handed over only when the next one begins, so that an
// interactive job can still put its footer under it.
void PageSurface::new_page() {
    begin_output();
    m_page_pending = true;
    m_ended_x = m_x;
    m_ended_y = m_y;
    m_x = 0;
    m_y = 0;
}

bool PageSurface::return_to_last_page() {
    if (!m_page_pending || !m_sink->is_open()) {
        return false;
    }
    m_page_pending = false;
    m_page_face_known = false;
    m_x = m_ended_x;
    m_y = m_ended_y;
    return true;
}

void PageSurface::end_doc() {
    begin_document();
    if (m_page_open) {
        emit_page();
    }
    m_page_pending = false;
    m_x = 0;
    m_y = 0;
    m_last_blank = !m_marked;
    m_sink->finish();
}

void PageSurface::finish_document() {
    if (m_sink->is_open()) {
        end_doc();
    }
}

SurfaceSetup PageSurface::setup() const {
    SurfaceSetup setup;
    setup.paper = m_paper;
    setup.paper_code = m_paper_code;
    setup.resolution = m_resolution;
    setup.device_name = m_device_name;
    setup.copies = m_copies;
    setup.describe_job = m_describe_job;
    setup.offset = m_offset;
    setup.sheet_per_page = m_sheet_per_page;
    return setup;
}

void PageSurface::abandon_document() noexcept {
    m_sink->abandon();
    m_page_open = false;
    m_page_pending = false;
    m_x = 0;
    m_y = 0;
}

// The list is taken afresh when it is counted and read from that copy by
// index, so a walk over all faces asks the face source once, not once a face.
int PageSurface::font_count() const {
    m_families = m_faces->families();
    return static_cast<int>(m_families.size());
}

std::string PageSurface::font(int index) const {
    if (m_families.empty()) {
        m_families = m_faces->families();
    }
    if (index < 0 || static_cast<std::size_t>(index) >= m_families.size()) {
        return {};
    }
    return m_families[static_cast<std::size_t>(index)];
}

} // namespace kvalon
