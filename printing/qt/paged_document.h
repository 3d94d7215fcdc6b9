#pragma once

#include "printing/page_description.h"

#include <QPainter>

class QPagedPaintDevice;

namespace kvalon {

class FaceCache;

// Page descriptions painted one after the other on a Qt paged device (a
// printer, a PDF writer); each page gets the sheet and orientation it names.
class PagedDocument {
public:
    PagedDocument(QPagedPaintDevice& device, int dpi, FaceCache& faces);

    // False when the device would not begin the document or a new sheet.
    bool add_page(const PageDescription& page);
    // False when the device did not end the document cleanly.
    bool end();
    // Ends the painter without asking for success (the device is aborted).
    void stop();
    bool active() const { return m_painter.isActive(); }

private:
    QPagedPaintDevice& m_device;
    int m_dpi;
    FaceCache& m_faces;
    QPainter m_painter;
};

} // namespace kvalon
