#pragma once

#include <QMenu>

#include <functional>

namespace kvalon {

// A menu of choices of which one is in force, checked: the ways reports are
// read. Each choice has a name of its own ("language_auto"), its action's
// objectName.
class ChoiceMenu final : public QMenu {
    Q_OBJECT
public:
    ChoiceMenu(const QString& title, const char* name, QWidget* parent);

    // `chosen` runs when the user picks it.
    QAction* add_choice(const char* name, const char* caption, std::function<void()> chosen);
    // The choice in force, made elsewhere, checked.
    void show_choice(const char* name);
    QAction* choice(const char* name) const;
};

} // namespace kvalon
