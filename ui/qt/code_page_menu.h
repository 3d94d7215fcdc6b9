#pragma once

#include "engine/code_page.h"

#include <QMenu>

#include <functional>

namespace kvalon {

// The code pages a report may be read in, and "auto", the page the program
// tells from the report; the one in force is checked.
class CodePageMenu final : public QMenu {
    Q_OBJECT
public:
    using Chosen = std::function<void(const CodePageChoice&)>;
    CodePageMenu(const QString& title, const CodePageChoice& current, Chosen chosen,
                 QWidget* parent);

    // The choice in force, made elsewhere, checked.
    void show_choice(const CodePageChoice& choice);

private:
    void add_choice(const QString& text, const CodePageChoice& choice, bool checked);

    Chosen m_chosen;
};

} // namespace kvalon
