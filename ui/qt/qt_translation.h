#pragma once

class QTranslator;

namespace kvalon {

// Loads Qt's own Bulgarian translation into `translator` and installs it, so
// the standard dialogs (file dialog, message boxes) speak Bulgarian, and makes
// Bulgarian the default locale. Returns false when the translation is not
// installed; the dialogs then stay English.
bool install_qt_translation(QTranslator& translator);

} // namespace kvalon
