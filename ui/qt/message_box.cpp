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
std::function<int(const Question&)>& question_seam() {
    static std::function<int(const Question&)> seam;
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

void set_question_seam(std::function<int(const Question&)> seam) {
    question_seam() = std::move(seam);
}

int ask_question(const Question& question) {
    if (question_seam()) {
        return question_seam()(question);
    }
    if (is_headless()) {
        write_error_line(question.text);
        return question.unattended;
    }
    const std::unique_ptr<QMessageBox> box = make_question_box(question);
    box->exec();
    return answer_of(*box, question);
}

std::unique_ptr<QMessageBox> make_question_box(const Question& question) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, QString::fromStdString(messages::kTitle),
                                      QString::fromStdString(question.text));
    std::vector<QPushButton*> buttons;
    for (const std::string& answer : question.answers) {
        buttons.push_back(box->addButton(QString::fromStdString(answer), QMessageBox::ActionRole));
    }
    // A question that can destroy a file must not be answered so by Enter.
    box->setDefaultButton(buttons.at(static_cast<std::size_t>(question.safe)));
    box->setEscapeButton(buttons.at(static_cast<std::size_t>(question.cancel)));
    return box;
}

int answer_of(const QMessageBox& box, const Question& question) {
    for (int answer = 0; answer < static_cast<int>(question.answers.size()); ++answer) {
        const QString caption =
            QString::fromStdString(question.answers[static_cast<std::size_t>(answer)]);
        if (box.clickedButton() != nullptr && box.clickedButton()->text() == caption) {
            return answer;
        }
    }
    return question.cancel;
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
