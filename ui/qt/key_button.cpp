#include "ui/qt/key_button.h"

#include <QKeyEvent>

namespace kvalon {

KeyButton::KeyButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void KeyButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0 && isEnabled()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace kvalon
