#include "ui/qt/design_font.h"

#include <QStringList>

namespace kvalon {

namespace {
struct FaceFamily {
    const char* face;
    QFont::StyleHint hint;
    const char* fallbacks; // installed families of the same kind, best first
};

// Liberation faces share the metrics of the faces the windows were drawn
// with, so labels keep their designed widths.
constexpr FaceFamily kFaces[] = {
    {"Fixedsys", QFont::TypeWriter, "Liberation Mono,DejaVu Sans Mono,Noto Mono"},
    {"Courier New", QFont::TypeWriter, "Liberation Mono,DejaVu Sans Mono,Noto Mono"},
    {"CourierCyr", QFont::TypeWriter, "Liberation Mono,DejaVu Sans Mono,Noto Mono"},
    {"MS Sans Serif", QFont::SansSerif, "Liberation Sans,DejaVu Sans"},
    {"Times New Roman", QFont::Serif, "Liberation Serif,DejaVu Serif"},
};
} // namespace

QFont design_font(const QString& face, double points, bool bold) {
    QFont font;
    QStringList families{face};
    for (const FaceFamily& known : kFaces) {
        if (face == QLatin1String(known.face)) {
            families += QString::fromLatin1(known.fallbacks).split(QLatin1Char(','));
            font.setStyleHint(known.hint);
            if (known.hint == QFont::TypeWriter) {
                font.setFixedPitch(true);
            }
        }
    }
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace kvalon
