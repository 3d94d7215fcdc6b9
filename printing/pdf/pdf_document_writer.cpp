#include "printing/pdf/pdf_document_writer.h"

#include "build_info.h"
#include "engine/paper_codes.h"
#include "engine/units.h"
#include "platform/local_time.h"
#include "printing/pdf/fnv_hash.h"
#include "printing/pdf/pdf_font.h"
#include "printing/pdf/pdf_syntax.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace kvalon {

namespace {

// Font sizes are written with four decimals; text is placed from that value.
constexpr double kSizeSteps = 1e4;
// FreeType keeps line thickness in 64ths of a pixel.
constexpr double kPixelSteps = 64;

// D:YYYYMMDDHHmmSS+HH'mm' in local time, as readers show it.
std::string creation_date() {
    const LocalTime local = local_time(std::time(nullptr));
    char text[32];
    std::strftime(text, sizeof text, "D:%Y%m%d%H%M%S", &local.fields);
    std::string date = text;
    const long offset_minutes = local.offset_minutes;
    date += offset_minutes < 0 ? '-' : '+';
    const long minutes = std::abs(offset_minutes);
    std::snprintf(text, sizeof text, "%02ld'%02ld'", minutes / 60, minutes % 60);
    return date + text;
}

} // namespace

struct PdfDocumentWriter::EmbeddedFont {
    std::string family;
    bool bold = false; // the family's own bold face
    PdfFont font;
    int number = 0;
    std::string resource;
};

PdfDocumentWriter::PdfDocumentWriter(ByteOutput& out, const FontSource& fonts, int deflate_level)
    : m_out(out), m_fonts(fonts), m_objects(out), m_deflater(std::clamp(deflate_level, 1, 9)),
      m_compress_pages(deflate_level > 0), m_content(m_objects, m_deflater) {}

PdfDocumentWriter::~PdfDocumentWriter() = default;

void PdfDocumentWriter::begin(const DocumentInfo& info) {
    m_copies = std::max(1, info.copies);
    m_objects.write_header();
    m_catalog = m_objects.reserve();
    m_page_tree = m_objects.reserve();
    m_info = m_objects.reserve();
    m_info_text = "<</Title";
    append_text_string(m_info_text, info.title);
    m_info_text += "/Producer";
    append_text_string(m_info_text, std::string("Kvalon-P ") + build_info::version_text);
    m_info_text += "/CreationDate(" + creation_date() + ")>>";
    m_objects.write_object(m_info, m_info_text);
}

PdfDocumentWriter::EmbeddedFont& PdfDocumentWriter::font_for(const std::string& family, bool bold) {
    for (const auto& embedded : m_embedded) {
        if (embedded->family == family && embedded->bold == bold) {
            return *embedded;
        }
    }
    auto embedded = std::unique_ptr<EmbeddedFont>(
        new EmbeddedFont{family, bold, PdfFont(m_fonts, family, bold), m_objects.reserve(), {}});
    embedded->resource = "/F" + std::to_string(m_embedded.size() + 1);
    m_embedded.push_back(std::move(embedded));
    return *m_embedded.back();
}

// Bold without a bold face is drawn twice, the second time half a line
// thickness to the left, as the printer path has always drawn it: the same
// strokes, so printed and filed pages look alike.
ShownFace PdfDocumentWriter::shown_face(const PageFace& face, int dpi) {
    const bool own_bold = face.bold && m_fonts.has_bold_face(face.family);
    EmbeddedFont& embedded = font_for(face.family, own_bold);
    ShownFace shown;
    shown.font = &embedded.font;
    shown.resource = embedded.resource;
    shown.points = std::round(face.points * kSizeSteps) / kSizeSteps;
    shown.horizontal = face.width_scale > 0 ? face.width_scale : 1;
    shown.slanted = face.italic;
    if (face.bold && !own_bold) {
        const double pixels = std::round(face.points * dpi / PointsPerInch);
        double thickness = embedded.font.underline_thickness() / kGlyphSpaceUnits * pixels;
        thickness = std::max(1.0, std::round(thickness * kPixelSteps) / kPixelSteps);
        shown.bold_shift = thickness / 2 * PointsPerInch / dpi;
    }
    return shown;
}

// Pages of one report mostly share their faces; those are looked up once.
std::vector<ShownFace>& PdfDocumentWriter::shown_faces(const PageDescription& page) {
    if (page.faces == m_page_faces && page.dpi == m_page_dpi) {
        return m_faces;
    }
    m_page_faces.clear();
    m_faces.clear();
    for (const PageFace& face : page.faces) {
        m_faces.push_back(shown_face(face, page.dpi > 0 ? page.dpi : DrawingDpi));
    }
    m_page_faces = page.faces;
    m_page_dpi = page.dpi;
    return m_faces;
}

std::string PdfDocumentWriter::page_object(const PageDescription& page, int contents) const {
    std::string body = "<</Type/Page/Parent ";
    append_integer(body, static_cast<std::uint64_t>(m_page_tree));
    body += " 0 R/MediaBox[0 0 ";
    append_number(body, page.width_points);
    body += ' ';
    append_number(body, page.height_points);
    body += "]/Resources<<";
    std::string fonts;
    for (const auto& embedded : m_embedded) {
        const bool used = std::any_of(m_faces.begin(), m_faces.end(), [&](const ShownFace& face) {
            return face.resource == embedded->resource;
        });
        if (used) {
            fonts += embedded->resource + ' ' + std::to_string(embedded->number) + " 0 R";
        }
    }
    if (!fonts.empty()) {
        body += "/Font<<" + fonts + ">>";
    }
    if (!m_content.forms().empty() || !m_content.images().empty()) {
        body += "/XObject<<";
        for (const int form : m_content.forms()) {
            body += "/G" + std::to_string(form) + ' ' + std::to_string(form) + " 0 R";
        }
        for (const int image : m_content.images()) {
            body += "/I" + std::to_string(image) + ' ' + std::to_string(image) + " 0 R";
        }
        body += ">>";
    }
    body += ">>/Contents ";
    append_integer(body, static_cast<std::uint64_t>(contents));
    body += " 0 R>>";
    return body;
}

void PdfDocumentWriter::add_page(const PageDescription& page) {
    std::vector<ShownFace>& faces = shown_faces(page);
    const std::string& content = m_content.build(page, faces);
    const int contents = m_objects.reserve();
    if (m_compress_pages) {
        m_objects.write_stream(contents, "/Filter/FlateDecode", m_deflater.deflate(content));
    } else {
        m_objects.write_stream(contents, "", content);
    }
    const int number = m_objects.reserve();
    std::string body = page_object(page, contents);
    m_objects.write_object(number, body);
    m_pages.push_back(number);
    if (m_copies > 1) {
        m_page_bodies.push_back(std::move(body));
    }
}

std::string PdfDocumentWriter::document_id() const {
    std::string id;
    const std::string size = std::to_string(m_objects.offset());
    append_hex(id, static_cast<std::uint32_t>(fnv_hash(m_info_text + size)), 8);
    append_hex(id, static_cast<std::uint32_t>(fnv_hash(size + m_info_text, 1469598103934665603ull)),
               8);
    append_hex(id, static_cast<std::uint32_t>(fnv_hash(m_info_text, 7809847782465536322ull)), 8);
    append_hex(id, static_cast<std::uint32_t>(fnv_hash(size, 9650029242287828579ull)), 8);
    return id;
}

void PdfDocumentWriter::finish() {
    // A document needs a page to be one; a job that printed nothing gives an
    // empty A4 sheet.
    if (m_pages.empty()) {
        PageDescription blank;
        blank.width_points = A4WidthPoints;
        blank.height_points = A4HeightPoints;
        add_page(blank);
    }
    for (const auto& embedded : m_embedded) {
        embedded->font.write(m_objects, m_deflater, embedded->number);
    }
    for (int copy = 1; copy < m_copies; ++copy) {
        for (const std::string& body : m_page_bodies) {
            const int number = m_objects.reserve();
            m_objects.write_object(number, body);
            m_pages.push_back(number);
        }
    }
    std::string tree = "<</Type/Pages/Count ";
    append_integer(tree, m_pages.size());
    tree += "/Kids[";
    for (const int page : m_pages) {
        append_integer(tree, static_cast<std::uint64_t>(page));
        tree += " 0 R ";
    }
    tree.back() = ']';
    tree += ">>";
    m_objects.write_object(m_page_tree, tree);
    std::string catalog = "<</Type/Catalog/Pages ";
    append_integer(catalog, static_cast<std::uint64_t>(m_page_tree));
    catalog += " 0 R>>";
    m_objects.write_object(m_catalog, catalog);
    m_objects.write_end(m_catalog, m_info, document_id());
    m_out.flush();
}

} // namespace kvalon
