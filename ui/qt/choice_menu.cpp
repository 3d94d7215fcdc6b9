#include "ui/qt/choice_menu.h"

#include <QActionGroup>

namespace kvalon {

ChoiceMenu::ChoiceMenu(const QString& title, const char* name, QWidget* parent)
    : QMenu(title, parent) {
    setObjectName(QString::fromLatin1(name));
    menuAction()->setObjectName(QString::fromLatin1(name));
    new QActionGroup(this);
}

QAction* ChoiceMenu::add_choice(const char* name, const char* caption,
                                std::function<void()> chosen) {
    QAction* action = addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    findChild<QActionGroup*>()->addAction(action);
    connect(action, &QAction::triggered, this, std::move(chosen));
    return action;
}

void ChoiceMenu::show_choice(const char* name) {
    if (QAction* action = choice(name)) {
        action->setChecked(true);
    }
}

QAction* ChoiceMenu::choice(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace kvalon
