#include "ui/qt/qt_window_services.h"

#include "engine/history/job_history.h"
#include "ui/qt/message_box.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <optional>

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
    // Read at each print: an unusable setting keeps its default.
    JobHistory* job_history() override {
        std::vector<std::string> warnings;
        m_history.emplace(history_settings_from_environment(warnings));
        return &*m_history;
    }

private:
    std::optional<JobHistory> m_history;
};

} // namespace

WindowServices& qt_window_services() {
    static QtWindowServices services;
    return services;
}

} // namespace kvalon
