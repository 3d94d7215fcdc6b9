#include "ui/qt/message_box.h"

#include "engine/error_line.h"
#include "engine/messages.h"
#include "ui/captions.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>

namespace kvalon {

namespace {
std::function<void(const std::string&)>& message_seam() {
    static std::function<void(const std::string&)> seam;
    return seam;
}
std::function<int(const std::string&)>& question_seam() {
    static std::function<int(const std::string&)> seam;
    return seam;
}
} // namespace

void show_message_from_any_thread(const std::string& utf8_text) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        show_message(utf8_text);
        return;
    }
    QMetaObject::invokeMethod(
        application, [utf8_text] { show_message(utf8_text); }, Qt::QueuedConnection);
}

void set_question_seam(std::function<int(const std::string&)> seam) {
    question_seam() = std::move(seam);
}

int ask_question(const std::string& utf8_text, const std::vector<std::string>& answers, int cancel,
                 int unattended) {
    if (question_seam()) {
        return question_seam()(utf8_text);
    }
    if (is_headless()) {
        write_error_line(utf8_text);
        return unattended;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(messages::kTitle),
                    QString::fromStdString(utf8_text));
    std::vector<QAbstractButton*> buttons;
    for (const std::string& answer : answers) {
        buttons.push_back(box.addButton(QString::fromStdString(answer), QMessageBox::ActionRole));
    }
    box.setEscapeButton(buttons.at(static_cast<std::size_t>(cancel)));
    box.exec();
    for (std::size_t answer = 0; answer < buttons.size(); ++answer) {
        if (box.clickedButton() == buttons[answer]) {
            return static_cast<int>(answer);
        }
    }
    return cancel;
}

bool is_headless() {
    const QString platform = QGuiApplication::platformName();
    return platform.isEmpty() || platform == QLatin1String("offscreen") ||
           platform == QLatin1String("minimal");
}

void set_message_seam(std::function<void(const std::string&)> seam) {
    message_seam() = std::move(seam);
}

void show_message(const std::string& utf8_text) {
    if (message_seam()) {
        message_seam()(utf8_text);
        return;
    }
    if (is_headless()) {
        write_error_line(utf8_text);
        return;
    }
    make_message_box(utf8_text)->exec();
}

std::unique_ptr<QMessageBox> make_message_box(const std::string& utf8_text) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, QString::fromStdString(messages::kTitle),
                                      QString::fromStdString(utf8_text), QMessageBox::Ok);
    box->button(QMessageBox::Ok)->setText(QString::fromUtf8(captions::kOk));
    return box;
}

} // namespace kvalon
