#pragma once

#include <QFont>
#include <QString>

namespace kvalon {

// The font a window was designed with. Faces this system lacks fall back to
// an installed family of the same kind: a fixed-pitch face stays fixed-pitch
// ("Fixedsys", "Courier New", "CourierCyr"), a sans face stays sans ("MS Sans
// Serif"), a serif face serif ("Times New Roman"). Sizes are points.
QFont design_font(const QString& face, double points, bool bold = false);

} // namespace kvalon
