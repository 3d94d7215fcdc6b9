#pragma once

#include <QWidget>

#include <string>

class QLabel;

namespace kvalon {

// The About window: trade name, purpose, version and the maker's contact line.
// Modeless, fixed size, centred on its owner; it is deleted when closed, so the
// next opening loads it afresh.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* owner);

private:
    void load();
    QLabel* add_label(const char* name, const QString& text, int top, int height);

    QLabel* m_version = nullptr;
};

// "Версия ", then the three numbers, each written with a reserved sign place (a
// blank for zero or more, "-" below zero) and joined by dots: 1, 2, 0 gives
// "Версия  1. 2. 0".
std::string about_version_text(int major, int minor, int revision);

} // namespace kvalon
