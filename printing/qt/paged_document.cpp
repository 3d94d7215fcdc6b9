#include "printing/qt/paged_document.h"

#include "printing/qt/painter_page.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>

#include <cmath>

namespace kvalon {

namespace {

QPageSize paper_of(const PageDescription& page) {
    const double portrait_width = page.landscape ? page.height_points : page.width_points;
    const double portrait_height = page.landscape ? page.width_points : page.height_points;
    return QPageSize(QSize(static_cast<int>(std::lround(portrait_width)),
                           static_cast<int>(std::lround(portrait_height))));
}

// Only the sheet and its orientation follow the page; the device keeps its
// own margins (a printer's unprintable edges).
void lay_out(QPagedPaintDevice& device, const PageDescription& page) {
    const QPageSize paper = paper_of(page);
    if (!device.pageLayout().pageSize().isEquivalentTo(paper)) {
        device.setPageSize(paper);
    }
    const auto orientation = page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (device.pageLayout().orientation() != orientation) {
        device.setPageOrientation(orientation);
    }
}

} // namespace

PagedDocument::PagedDocument(QPagedPaintDevice& device, int dpi, FaceCache& faces)
    : m_device(device), m_dpi(dpi), m_faces(faces) {}

bool PagedDocument::add_page(const PageDescription& page) {
    lay_out(m_device, page);
    if (!m_painter.isActive()) {
        if (!m_painter.begin(&m_device)) {
            return false;
        }
    } else if (!m_device.newPage()) {
        return false;
    }
    draw_page(m_painter, page, m_dpi, m_faces);
    return true;
}

bool PagedDocument::end() {
    return !m_painter.isActive() || m_painter.end();
}

void PagedDocument::stop() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

} // namespace kvalon
