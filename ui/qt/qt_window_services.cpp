#include "ui/qt/qt_window_services.h"

#include "engine/history/job_history.h"
#include "ui/qt/message_box.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace kvalon {

namespace {

class QtWindowServices final : public WindowServices {
public:
    void show_message(const std::string& utf8_text) override { kvalon::show_message(utf8_text); }
    int ask_question(const Question& question) override { return kvalon::ask_question(question); }
    void post(std::function<void()> work) override {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
        }
    }
    // The settings as the windows started with them; an unusable one keeps
    // its default.
    JobHistory* job_history() override {
        static JobHistory history = [] {
            std::vector<std::string> warnings;
            return JobHistory(history_settings_from_environment(warnings));
        }();
        return &history;
    }
};

} // namespace

WindowServices& qt_window_services() {
    static QtWindowServices services;
    return services;
}

} // namespace kvalon
