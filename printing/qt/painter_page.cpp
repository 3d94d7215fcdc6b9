#include "printing/qt/painter_page.h"

#include "engine/units.h"
#include "printing/qt/face_cache.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace kvalon {

namespace {

constexpr double kPixelSteps = 64;

struct Device {
    double px_per_mm;
    double px(double mm) const { return mm * px_per_mm; }
};

void draw_fills(QPainter& painter, const PageDescription& page, const Device& device) {
    for (const Fill& fill : page.fills) {
        const long left = std::lround(device.px(fill.x));
        const long top = std::lround(device.px(fill.y));
        const long right = std::lround(device.px(fill.x + fill.width));
        const long bottom = std::lround(device.px(fill.y + fill.height));
        painter.fillRect(QRect(static_cast<int>(left), static_cast<int>(top),
                               static_cast<int>(right - left), static_cast<int>(bottom - top)),
                         QColor(fill.grey, fill.grey, fill.grey));
    }
}

// The set dots black, the others clear; each dot a sharp block, as a
// printer's dots stay sharp however the page is zoomed.
void draw_images(QPainter& painter, const PageDescription& page, const Device& device) {
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const PlacedImage& placed : page.images) {
        const BitImage& dots = placed.dots;
        if (dots.columns() == 0 || dots.rows() == 0) {
            continue;
        }
        QImage image(dots.bits().data(), dots.columns(), dots.rows(),
                     static_cast<qsizetype>(dots.stride()), QImage::Format_Mono);
        image.setColorTable({qRgba(255, 255, 255, 0), qRgba(0, 0, 0, 255)});
        painter.drawImage(QRectF(device.px(placed.x), device.px(placed.y), device.px(placed.width),
                                 device.px(placed.height)),
                          image);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

// Stretched glyphs are drawn at their place divided by the stretch under a
// transform that stretches every width, so each is stretched from its own
// origin.
QTransform face_transform(const PageFace& face, double baseline_px) {
    QTransform transform;
    if (face.italic) {
        transform = QTransform(1, 0, -kItalicSlant, 1, kItalicSlant * baseline_px, 0);
    }
    if (face.width_scale > 0 && face.width_scale != 1) {
        transform = QTransform::fromScale(face.width_scale, 1) * transform;
    }
    return transform;
}

void draw_glyphs(QPainter& painter, const QRawFont& raw, const QTransform& transform,
                 const std::vector<quint32>& glyphs, const std::vector<QPointF>& positions) {
    if (glyphs.empty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
    run.setPositions(QList<QPointF>(positions.begin(), positions.end()));
    // On top of the painter's own transform: a page view may sit anywhere.
    const QTransform base = painter.transform();
    painter.setTransform(transform * base);
    painter.drawGlyphRun(QPointF(0, 0), run);
    painter.setTransform(base);
}

int whole_pixels(double points, double dpi) {
    const int pixels = static_cast<int>(std::lround(points * dpi / PointsPerInch));
    return pixels > 0 ? pixels : 1;
}

// Bold in a family without a bold face is printed twice, the copy half the
// font's line thickness (at the page's resolution, in 64ths of a pixel, at
// least one pixel) to the left; the view draws it so, to show what prints.
// Millimetres; 0 when the face has a bold of its own.
double synthetic_bold_shift(const PageDescription& page, const PageFace& page_face,
                            FaceCache& faces) {
    if (!page_face.bold) {
        return 0;
    }
    const int dpi = page.dpi > 0 ? page.dpi : DrawingDpi;
    const int pixels = whole_pixels(page_face.points, dpi);
    const QRawFont& raw = faces.face(page_face.family, pixels, true).raw();
    // A face of its own has other tables than the regular face, as the PDF
    // writer tells them apart.
    const QByteArray head = raw.fontTable("head");
    const QByteArray post = raw.fontTable("post");
    if ((!head.isEmpty() &&
         head != faces.face(page_face.family, pixels, false).raw().fontTable("head")) ||
        post.size() < 12 || raw.unitsPerEm() <= 0) {
        return 0;
    }
    const auto units = static_cast<std::int16_t>(static_cast<unsigned char>(post[10]) << 8 |
                                                 static_cast<unsigned char>(post[11]));
    double thickness = units / raw.unitsPerEm() * pixels;
    thickness = std::max(1.0, std::round(thickness * kPixelSteps) / kPixelSteps);
    return thickness / 2 * MmPerInch / dpi;
}

// Upright faces are drawn in one glyph run each for the whole page; slanted
// and wide ones run by run, as their transform follows the baseline.
void draw_face(QPainter& painter, const PageDescription& page, std::size_t index,
               const Device& device, double dpi, FaceCache& faces) {
    const PageFace& page_face = page.faces[index];
    Face& face = faces.face(page_face.family, whole_pixels(page_face.points, dpi), page_face.bold);
    const double scale = page_face.width_scale > 0 ? page_face.width_scale : 1;
    const bool plain = !page_face.italic && scale == 1;
    const double bold_shift = device.px(synthetic_bold_shift(page, page_face, faces));
    std::vector<quint32> glyphs;
    std::vector<QPointF> positions;
    for (const TextRun& run : page.runs) {
        if (run.face != index) {
            continue;
        }
        const double baseline = device.px(run.baseline);
        for (const PlacedGlyph& glyph : run.glyphs) {
            glyphs.push_back(face.glyph(glyph.code).index);
            positions.emplace_back(device.px(glyph.x) / scale, baseline);
            if (bold_shift > 0) {
                glyphs.push_back(glyphs.back());
                positions.emplace_back((device.px(glyph.x) - bold_shift) / scale, baseline);
            }
        }
        if (!plain) {
            draw_glyphs(painter, face.raw(), face_transform(page_face, baseline), glyphs,
                        positions);
            glyphs.clear();
            positions.clear();
        }
    }
    draw_glyphs(painter, face.raw(), QTransform(), glyphs, positions);
}

// Widths in whole pixels stay whole, so the device writes "4 w", not 3.9999.
double pen_width(double width_mm, const Device& device) {
    const double px = device.px(width_mm);
    const double whole = std::round(px);
    return std::fabs(px - whole) < 1e-6 ? whole : px;
}

void draw_strokes(QPainter& painter, const PageDescription& page, const Device& device) {
    std::map<double, std::vector<QLineF>> by_width;
    for (const Stroke& s : page.strokes) {
        by_width[pen_width(s.width, device)].emplace_back(device.px(s.x1), device.px(s.y1),
                                                          device.px(s.x2), device.px(s.y2));
    }
    for (const auto& [width, lines] : by_width) {
        QPen pen(Qt::black);
        pen.setWidthF(width);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
}

} // namespace

void draw_page(QPainter& painter, const PageDescription& page, double dpi, FaceCache& faces) {
    const Device device{dpi / MmPerInch};
    draw_fills(painter, page, device);
    draw_images(painter, page, device);
    painter.setPen(Qt::black);
    for (std::size_t face = 0; face < page.faces.size(); ++face) {
        draw_face(painter, page, face, device, dpi, faces);
    }
    draw_strokes(painter, page, device);
}

} // namespace kvalon
