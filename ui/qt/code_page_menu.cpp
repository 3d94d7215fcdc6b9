#include "ui/qt/code_page_menu.h"

#include "ui/captions.h"

#include <QActionGroup>

namespace kvalon {

CodePageMenu::CodePageMenu(const QString& title, const CodePageChoice& current, Chosen chosen,
                           QWidget* parent)
    : QMenu(title, parent), m_chosen(std::move(chosen)) {
    setObjectName(QStringLiteral("codePageMenu"));
    const CodePageChoice automatic{true, CodePageId::Mik};
    add_choice(QString::fromUtf8(captions::kCodePageAuto), automatic, current.automatic);
    addSeparator();
    for (const CodePageRow& row : kCodePageRows) {
        const CodePageChoice choice{false, row.id};
        add_choice(
            QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size())),
            choice, current == choice);
    }
}

void CodePageMenu::show_choice(const CodePageChoice& choice) {
    const std::string_view name = code_page_choice_name(choice);
    auto* action =
        findChild<QAction*>(QStringLiteral("codePage_") +
                            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (action != nullptr) {
        action->setChecked(true);
    }
}

void CodePageMenu::add_choice(const QString& text, const CodePageChoice& choice, bool checked) {
    auto* group = findChild<QActionGroup*>();
    if (group == nullptr) {
        group = new QActionGroup(this);
    }
    QAction* action = addAction(text);
    action->setObjectName(
        QStringLiteral("codePage_") +
        QString::fromUtf8(code_page_choice_name(choice).data(),
                          static_cast<qsizetype>(code_page_choice_name(choice).size())));
    action->setCheckable(true);
    action->setChecked(checked);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, choice] { m_chosen(choice); });
}

} // namespace kvalon
