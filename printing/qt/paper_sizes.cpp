#include "printing/qt/paper_sizes.h"

#include "engine/paper_codes.h"

#include <QSizeF>

namespace kvalon {

namespace {
const QSizeF kFolioInches(8.5, 13);
const QSizeF kFolioMillimetres(215.9, 330.2);
} // namespace

QPageSize page_size_for_code(int windows_code) {
    if (windows_code == PaperFolio) {
        return QPageSize(kFolioMillimetres, QPageSize::Millimeter, QStringLiteral("Folio"),
                         QPageSize::ExactMatch);
    }
    const QPageSize::PageSizeId id = QPageSize::id(windows_code);
    if (id == QPageSize::Custom) {
        return QPageSize();
    }
    return QPageSize(id);
}

int code_for_page_size(const QPageSize& size) {
    if (!size.isValid()) {
        return PaperUserDefined;
    }
    if (size.id() == QPageSize::Custom &&
        size.size(QPageSize::Inch).toSize() == kFolioInches.toSize() &&
        qFuzzyCompare(size.size(QPageSize::Inch).height(), kFolioInches.height())) {
        return PaperFolio;
    }
    const int code = size.windowsId();
    return code > 0 ? code : PaperUserDefined;
}

} // namespace kvalon
