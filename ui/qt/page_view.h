#pragma once

#include "printing/page_description.h"

#include <QImage>
#include <QScrollArea>

#include <memory>

class QLabel;

namespace kvalon {

class FaceCache;

// The page on view as it will print: a white sheet of the planned paper and
// orientation with the page description drawn on it by the same routine that
// draws it for the printer. Zoom to the whole page, the width, or real size.
class PageView final : public QScrollArea {
    Q_OBJECT
public:
    enum class Zoom { FitPage, FitWidth, ActualSize };

    explicit PageView(QWidget* parent = nullptr);
    ~PageView() override;

    void set_page(PageDescription page);
    // No page: an empty grey area.
    void clear();
    bool has_page() const { return m_has_page; }
    const PageDescription& page() const { return m_page; }

    void set_zoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // Pixels to the inch the sheet is drawn at now.
    double shown_dpi() const { return m_shown_dpi; }

    // The sheet at `dpi` pixels to the inch, as this view draws it.
    QImage render(double dpi) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double dpi_for_zoom() const;
    void redraw();

    QLabel* m_sheet = nullptr;
    std::unique_ptr<FaceCache> m_faces;
    PageDescription m_page;
    bool m_has_page = false;
    Zoom m_zoom = Zoom::FitPage;
    double m_shown_dpi = 0;
};

} // namespace kvalon
