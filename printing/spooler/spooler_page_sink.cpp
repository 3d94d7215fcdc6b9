#include "printing/spooler/spooler_page_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/units.h"
#include "printing/paper_sizes.h"
#include "printing/spooler/gdi_page_drawer.h"
#include "printing/spooler/spooler_job_follow.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kvalon {

namespace {

double mm_of(int pixels, int dpi) {
    return dpi > 0 ? pixels * MmPerInch / dpi : 0;
}

} // namespace

std::optional<MediaMargins> margins_of(const DeviceArea& area, bool landscape) {
    if (area.sheet_width <= 0 || area.sheet_height <= 0 || area.printable_width <= 0) {
        return std::nullopt;
    }
    const double left = mm_of(area.offset_x, area.dpi_x);
    const double top = mm_of(area.offset_y, area.dpi_y);
    const double right = mm_of(area.sheet_width - area.offset_x - area.printable_width, area.dpi_x);
    const double bottom =
        mm_of(area.sheet_height - area.offset_y - area.printable_height, area.dpi_y);
    // A landscape sheet's top edge is one of the portrait sheet's sides.
    if (landscape) {
        return MediaMargins{left, right, bottom, top};
    }
    return MediaMargins{top, bottom, left, right};
}

std::string outside_printable_note(const std::string& printer) {
    return messages::kCellsOutsidePrintable + printer + messages::kCellsOutsidePrintableEnd;
}

SpoolerPageSink::SpoolerPageSink(SpoolerJobSettings settings,
                                 std::shared_ptr<const SpoolerApi> spooler)
    : m_settings(std::move(settings)), m_spooler(std::move(spooler)) {}

SpoolerPageSink::~SpoolerPageSink() {
    abandon();
}

void SpoolerPageSink::begin(const DocumentInfo& info) {
    abandon();
    m_unconfirmed.clear();
    m_info = info;
    m_open = true;
}

// The job's paper is the one its pages were planned on: the A4 a Letter
// printer was switched to goes into the job's DEVMODE.
void SpoolerPageSink::start_document(const PageDescription& first) {
    SpoolerDocumentRequest request;
    request.printer = m_settings.printer;
    request.title = m_info.title;
    request.copies = m_info.copies;
    const long across = std::lround(first.width_points);
    const long down = std::lround(first.height_points);
    request.paper_code = code_for_paper(paper_of_points(static_cast<int>(std::min(across, down)),
                                                        static_cast<int>(std::max(across, down))));
    request.landscape = first.landscape;
    m_document = m_spooler->start_document(request);
    m_margins = margins_of(m_document->area(), first.landscape);
}

// A page whose cells already lie within the printed area goes out as it is.
PageDescription SpoolerPageSink::placed(const PageDescription& page) {
    PageDescription moved = page;
    if (!m_margins || page.cells.empty()) {
        return moved;
    }
    const PagePlacement placement = place_offset_page(page, *m_margins);
    if (!placement.whole && !(page.cells == m_told_cells)) {
        m_told_cells = page.cells;
        tell_user(outside_printable_note(m_settings.printer));
    }
    move_page(moved, placement);
    return moved;
}

void SpoolerPageSink::add_page(const PageDescription& page) {
    if (!m_open) {
        throw std::logic_error("a page without a document");
    }
    try {
        if (m_document == nullptr) {
            start_document(page);
        }
        GdiCanvas& canvas = m_document->start_page();
        draw_page_on(placed(page), m_document->area(), canvas);
        m_document->end_page();
    } catch (...) {
        abandon();
        throw;
    }
}

void SpoolerPageSink::finish() {
    if (!m_open) {
        throw std::logic_error("no document to finish");
    }
    if (m_document == nullptr) {
        m_open = false;
        return;
    }
    int job = 0;
    try {
        job = m_document->end_document();
    } catch (...) {
        abandon();
        throw;
    }
    m_document.reset();
    m_open = false;
    m_unconfirmed = follow_spooler_job(
        *m_spooler, {m_settings.printer, job, m_settings.wait_seconds, m_settings.watch});
    if (!m_unconfirmed.empty()) {
        tell_user(m_unconfirmed);
    }
}

void SpoolerPageSink::abandon() noexcept {
    if (m_document != nullptr) {
        m_document->abort();
        m_document.reset();
    }
    m_open = false;
}

} // namespace kvalon
