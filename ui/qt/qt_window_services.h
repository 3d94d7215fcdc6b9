#pragma once

#include "ui/window_services.h"

namespace kvalon {

// The window services on Qt: the program's message box and questions
// (ui/qt/message_box.h, with their test seams), work posted to the
// application's event loop.
WindowServices& qt_window_services();

} // namespace kvalon
