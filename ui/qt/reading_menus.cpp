#include "ui/qt/reading_menus.h"

#include "engine/escp/escp_form_length.h"
#include "engine/escp/escp_state.h"
#include "ui/captions.h"
#include "ui/menu_session.h"
#include "ui/print_data.h"
#include "ui/qt/choice_menu.h"
#include "ui/qt/form_lines_dialog.h"

#include <QAction>

#include <string>

namespace kvalon {

namespace {

struct FormChoice {
    const char* name;
    const char* caption;
    const char* length; // as the user writes it
};
constexpr FormChoice kForms[] = {
    {"formLength_11in", captions::kFormLength11, "11in"},
    {"formLength_12in", captions::kFormLength12, "12in"},
    {"formLength_a4", captions::kFormLengthA4, "a4"},
};
constexpr const char* kFormLinesChoice = "formLength_lines";

// The form in force checked; one of none of the named lengths is told on the
// lines' item.
void show_form_length(ChoiceMenu& menu, std::int64_t units) {
    QAction* lines = menu.choice(kFormLinesChoice);
    lines->setText(QString::fromUtf8(captions::kFormLengthLines));
    for (const FormChoice& form : kForms) {
        if (parse_form_length(form.length) == units) {
            menu.show_choice(form.name);
            return;
        }
    }
    lines->setText(lines->text() + QStringLiteral(" — ") +
                   QString::fromStdString(form_length_text(units)));
    lines->setChecked(true);
}

} // namespace

const char* language_choice_name(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Auto:
        break;
    case LanguageChoice::Epson:
        return "language_escp";
    case LanguageChoice::Text:
        return "language_text";
    case LanguageChoice::Pcl:
        return "language_pcl";
    }
    return "language_auto";
}

ChoiceMenu* make_language_menu(MenuSession& session, std::function<void()> changed,
                               QWidget* parent) {
    auto* menu = new ChoiceMenu(QString::fromUtf8(captions::kLanguageMenu), "languageMenu", parent);
    const struct {
        LanguageChoice choice;
        const char* caption;
    } choices[] = {
        {LanguageChoice::Auto, captions::kCodePageAuto},
        {LanguageChoice::Epson, captions::kLanguageEscp},
        {LanguageChoice::Text, captions::kLanguageText},
        {LanguageChoice::Pcl, captions::kLanguagePcl},
    };
    for (const auto& c : choices) {
        const LanguageChoice choice = c.choice;
        menu->add_choice(language_choice_name(choice), c.caption, [&session, changed, choice] {
            session.set_language(choice);
            changed();
        });
    }
    menu->show_choice(language_choice_name(session.language()));
    return menu;
}

ChoiceMenu* make_form_length_menu(MenuSession& session, std::function<void()> changed,
                                  QWidget* parent) {
    auto* menu =
        new ChoiceMenu(QString::fromUtf8(captions::kFormLengthMenu), "formLengthMenu", parent);
    for (const FormChoice& form : kForms) {
        const std::string length = form.length;
        menu->add_choice(form.name, form.caption, [&session, changed, length, menu] {
            session.set_form_length(length);
            show_form_length(*menu, session.form_length());
            changed();
        });
    }
    menu->add_choice(kFormLinesChoice, captions::kFormLengthLines, [&session, changed, menu] {
        const int now = static_cast<int>(session.form_length() / kEscpSixthInch);
        const std::optional<int> lines = ask_form_lines(menu->parentWidget(), now);
        if (lines && session.set_form_length(std::to_string(*lines))) {
            changed();
        }
        show_form_length(*menu, session.form_length());
    });
    show_form_length(*menu, session.form_length());
    return menu;
}

} // namespace kvalon
