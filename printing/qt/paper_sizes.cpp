#include "printing/qt/paper_sizes.h"

#include "engine/paper_codes.h"

#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>

namespace kvalon {

namespace {
const QSizeF kFolioInches(8.5, 13);
const QSizeF kFolioMillimetres(215.9, 330.2);

// The size at the end of a self-describing name: "_WIDTHxHEIGHTmm" or "in".
QPageSize self_described_size(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("_([0-9]+(?:[.][0-9]+)?)x([0-9]+(?:[.][0-9]+)?)(mm|in)$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch()) {
        return QPageSize();
    }
    const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
    if (size.isEmpty()) {
        return QPageSize();
    }
    const QPageSize::Unit unit =
        match.captured(3) == QLatin1String("mm") ? QPageSize::Millimeter : QPageSize::Inch;
    // A standard paper within a point of the size takes its own name.
    return QPageSize(size, unit, QString(), QPageSize::FuzzyMatch);
}

QPageSize size_named(const QString& keyword) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const QPageSize size(static_cast<QPageSize::PageSizeId>(id));
        if (size.isValid() && size.key().compare(keyword, Qt::CaseInsensitive) == 0) {
            return size;
        }
    }
    return QPageSize();
}
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

QPageSize page_size_for_media(const std::string& media) {
    const QStringList parts = QString::fromStdString(media).split(QLatin1Char(','));
    for (const QString& part : parts) {
        const QString name = part.trimmed();
        QPageSize size = self_described_size(name);
        if (!size.isValid()) {
            size = size_named(name);
        }
        if (size.isValid()) {
            return size;
        }
    }
    return QPageSize();
}

} // namespace kvalon
