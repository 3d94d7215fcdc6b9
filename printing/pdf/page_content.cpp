#include "printing/pdf/page_content.h"

#include "engine/units.h"
#include "printing/pdf/deflater.h"
#include "printing/pdf/pdf_font.h"
#include "printing/pdf/pdf_object_writer.h"
#include "printing/pdf/pdf_syntax.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

constexpr double kGreyLevels = 255;
constexpr double kPercent = 100;
// Steps between glyph shapes are written in hundredths of a font unit.
constexpr double kStepsPerUnit = 100;

} // namespace

PageContent::PageContent(PdfObjectWriter& out, Deflater& deflater)
    : m_objects(out), m_deflater(deflater), m_image_objects(out, deflater) {}

double PageContent::x_of(double mm) const {
    return mm * PointsPerMm;
}

double PageContent::y_of(double mm) const {
    return m_height_points - mm * PointsPerMm;
}

void PageContent::add_point(double x_mm, double y_mm) {
    append_number(m_out, x_of(x_mm));
    m_out += ' ';
    append_number(m_out, y_of(y_mm));
    m_out += ' ';
}

const std::string& PageContent::build(const PageDescription& page, std::vector<ShownFace>& faces) {
    m_out.clear();
    m_copies.clear();
    m_forms.clear();
    m_images.clear();
    m_named_images.clear();
    m_height_points = page.height_points;
    m_font = nullptr;
    m_spacing = 0;
    m_horizontal = 1;
    add_fills(page.fills);
    add_images(page.images);
    add_text(page.runs, faces);
    add_strokes(page.strokes);
    return m_out;
}

// Neighbouring fills of one grey share one fill operator; the order of
// painting is kept.
void PageContent::add_fills(const std::vector<Fill>& fills) {
    int grey = 0;
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const Fill& fill = fills[i];
        if (fill.grey != grey) {
            grey = fill.grey;
            append_number(m_out, grey / kGreyLevels);
            m_out += " g\n";
        }
        add_point(fill.x, fill.y + fill.height);
        append_number(m_out, fill.width * PointsPerMm);
        m_out += ' ';
        append_number(m_out, fill.height * PointsPerMm);
        m_out += " re\n";
        if (i + 1 == fills.size() || fills[i + 1].grey != grey) {
            m_out += "f\n";
        }
    }
    if (grey != 0) {
        m_out += "0 g\n";
    }
}

// Each picture is drawn through its one image object; the page names it
// among its resources once however often it draws it.
void PageContent::add_images(const std::vector<PlacedImage>& images) {
    for (const PlacedImage& placed : images) {
        const BitImage& dots = placed.dots;
        if (dots.columns() == 0 || dots.rows() == 0) {
            continue;
        }
        const int number = m_image_objects.object_of(dots);
        if (m_named_images.insert(number).second) {
            m_images.push_back(number);
        }
        m_out += "q ";
        append_number(m_out, placed.width * PointsPerMm);
        m_out += " 0 0 ";
        append_number(m_out, placed.height * PointsPerMm);
        m_out += ' ';
        add_point(placed.x, placed.y + placed.height);
        m_out += "cm /I";
        append_integer(m_out, static_cast<std::uint64_t>(number));
        m_out += " Do Q\n";
    }
}

void PageContent::add_text(const std::vector<TextRun>& runs, std::vector<ShownFace>& faces) {
    bool open = false;
    for (const TextRun& run : runs) {
        // A face without a size shows nothing and has no pitch to work from.
        if (run.glyphs.empty() || run.face >= faces.size() || !(faces[run.face].points > 0)) {
            continue;
        }
        if (!open) {
            m_out += "BT\n";
            open = true;
        }
        add_run(run, faces[run.face]);
    }
    if (open) {
        m_out += "ET\n";
    }
    m_out += m_copies;
}

void PageContent::add_text_matrix(const ShownFace& face, double x, double y) {
    if (face.slanted) {
        m_out += "1 0 ";
        append_number(m_out, kItalicSlant);
        m_out += " 1 ";
    } else {
        m_out += "1 0 0 1 ";
    }
    append_number(m_out, x);
    m_out += ' ';
    append_number(m_out, y);
    m_out += " Tm\n";
}

void PageContent::add_run(const TextRun& run, ShownFace& face) {
    if (m_font == nullptr || m_font->resource != face.resource || m_font->points != face.points) {
        m_out += face.resource;
        m_out += ' ';
        append_number(m_out, face.points, 4);
        m_out += " Tf\n";
        m_font = &face;
    }
    if (face.horizontal != m_horizontal) {
        m_horizontal = face.horizontal;
        append_number(m_out, m_horizontal * kPercent);
        m_out += " Tz\n";
    }
    m_show.build(run.glyphs, face, m_spacing);
    if (m_show.spacing() != m_spacing) {
        m_spacing = m_show.spacing();
        append_number(m_out, m_spacing, 5);
        m_out += " Tc\n";
    }
    const double x = x_of(run.glyphs.front().x);
    const double y = y_of(run.baseline);
    add_text_matrix(face, x, y);
    m_out += m_show.text();
    m_out += '\n';
    if (face.bold_shift > 0) {
        add_bold_copy(run, face);
    }
}

// Bold without a bold face: the same glyphs once more a little to the left.
// The copy is drawn as shapes, not as text, so that no reader finds the text
// twice. The shapes are in font units; each glyph moves the origin on from
// the glyph before.
void PageContent::add_bold_copy(const TextRun& run, ShownFace& face) {
    const double scale = face.points / face.font->units_per_em();
    const double unit = scale * face.horizontal; // one font unit across, in points
    const std::vector<std::uint16_t>& glyphs = m_show.glyph_ids();
    bool open = false;
    double origin = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const int form = face.font->outline_form(glyphs[i], m_objects, m_deflater);
        if (form == 0) {
            continue;
        }
        if (std::find(m_forms.begin(), m_forms.end(), form) == m_forms.end()) {
            m_forms.push_back(form);
        }
        const double x = x_of(run.glyphs[i].x) - face.bold_shift;
        if (!open) {
            m_copies += "q ";
            append_number(m_copies, unit, 7);
            m_copies += " 0 ";
            append_number(m_copies, face.slanted ? scale * kItalicSlant : 0, 7);
            m_copies += ' ';
            append_number(m_copies, scale, 7);
            m_copies += ' ';
            append_number(m_copies, x);
            m_copies += ' ';
            append_number(m_copies, y_of(run.baseline));
            m_copies += " cm";
            origin = x;
            open = true;
        } else {
            const double step = std::round((x - origin) / unit * kStepsPerUnit) / kStepsPerUnit;
            m_copies += " 1 0 0 1 ";
            append_number(m_copies, step, 2);
            m_copies += " 0 cm";
            origin += step * unit;
            m_copies += '\n';
        }
        m_copies += "/G";
        append_integer(m_copies, static_cast<std::uint64_t>(form));
        m_copies += " Do";
    }
    if (open) {
        m_copies += " Q\n";
    }
}

void PageContent::add_strokes(const std::vector<Stroke>& strokes) {
    if (strokes.empty()) {
        return;
    }
    m_out += "2 J\n";
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const Stroke& stroke = strokes[i];
        if (i == 0 || stroke.width != strokes[i - 1].width) {
            append_number(m_out, stroke.width * PointsPerMm, 4);
            m_out += " w\n";
        }
        add_point(stroke.x1, stroke.y1);
        m_out += "m ";
        add_point(stroke.x2, stroke.y2);
        m_out += "l\n";
        if (i + 1 == strokes.size() || strokes[i + 1].width != stroke.width) {
            m_out += "S\n";
        }
    }
}

} // namespace kvalon
