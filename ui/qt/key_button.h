#pragma once

#include <QPushButton>

namespace kvalon {

// A push button that Enter presses as well as Space, as users of these
// windows expect from a focused button outside dialogs.
class KeyButton final : public QPushButton {
    Q_OBJECT
public:
    explicit KeyButton(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kvalon
