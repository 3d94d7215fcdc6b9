#include "ui/qt/page_view.h"

#include "engine/units.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/painter_page.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {
// Grey around the sheet, so its edges show.
constexpr int kMarginPx = 8;
constexpr double kLeastDpi = 10;

int pixels(double mm, double dpi) {
    return std::max(1, static_cast<int>(std::lround(mm * dpi / MmPerInch)));
}
} // namespace

PageView::PageView(QWidget* parent)
    : QScrollArea(parent), m_sheet(new QLabel), m_faces(std::make_unique<FaceCache>()) {
    m_sheet->setObjectName(QStringLiteral("pageSheet"));
    m_sheet->setAlignment(Qt::AlignCenter);
    setWidget(m_sheet);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    setFocusPolicy(Qt::NoFocus);
}

PageView::~PageView() = default;

void PageView::set_page(PageDescription page) {
    m_page = std::move(page);
    m_has_page = true;
    redraw();
}

void PageView::clear() {
    m_page = PageDescription();
    m_has_page = false;
    redraw();
}

void PageView::set_zoom(Zoom zoom) {
    m_zoom = zoom;
    redraw();
}

void PageView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_zoom != Zoom::ActualSize) {
        redraw();
    }
}

double PageView::dpi_for_zoom() const {
    if (m_zoom == Zoom::ActualSize || m_page.width_mm <= 0 || m_page.height_mm <= 0) {
        return logicalDpiX();
    }
    const double width_in = m_page.width_mm / MmPerInch;
    const double height_in = m_page.height_mm / MmPerInch;
    const QSize room = maximumViewportSize() - QSize(2 * kMarginPx, 2 * kMarginPx);
    if (m_zoom == Zoom::FitWidth) {
        // The sheet will be taller than the view: leave room for the scroll bar.
        const int bar = verticalScrollBar()->sizeHint().width();
        return std::max(kLeastDpi, (room.width() - bar) / width_in);
    }
    return std::max(kLeastDpi, std::min(room.width() / width_in, room.height() / height_in));
}

QImage PageView::render(double dpi) const {
    QImage image(pixels(m_page.width_mm, dpi), pixels(m_page.height_mm, dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw_page(painter, m_page, dpi, *m_faces);
    return image;
}

void PageView::redraw() {
    if (!m_has_page) {
        m_sheet->clear();
        m_sheet->resize(0, 0);
        m_shown_dpi = 0;
        return;
    }
    m_shown_dpi = dpi_for_zoom();
    // Drawn at the screen's own pixels, so a high-density screen shows it sharp.
    const qreal ratio = devicePixelRatioF();
    QImage image = render(m_shown_dpi * ratio);
    image.setDevicePixelRatio(ratio);
    m_sheet->setPixmap(QPixmap::fromImage(image));
    m_sheet->resize(image.deviceIndependentSize().toSize());
}

} // namespace kvalon
