#pragma once

#include <QIcon>

namespace kvalon {

// The program's own icon, carried by every window.
QIcon window_icon();

} // namespace kvalon
