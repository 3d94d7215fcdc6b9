#pragma once

#include "engine/printer_language.h"

#include <functional>

class QWidget;

namespace kvalon {

class ChoiceMenu;
class MenuSession;

// The menus of how reports are read, over the menu window's session; after
// each choice `changed` runs (the report on view is planned again).

// "Режим" ("languageMenu"): told from each report ("language_auto"), Epson
// ("language_escp") or plain text ("language_text").
ChoiceMenu* make_language_menu(MenuSession& session, std::function<void()> changed,
                               QWidget* parent);
const char* language_choice_name(LanguageChoice choice);

// "Дължина на формата" ("formLengthMenu"): 11 in, 12 in, A4 or a number of
// lines ("formLength_11in", "formLength_12in", "formLength_a4",
// "formLength_lines", which asks how many).
ChoiceMenu* make_form_length_menu(MenuSession& session, std::function<void()> changed,
                                  QWidget* parent);

} // namespace kvalon
