#include "ui/window_job_keeping.h"

#include "engine/print_job.h"

#include <exception>

namespace kvalon {

namespace {

// The options the windows printed with, as the command line would give them.
std::vector<std::string> options_of(const PrintJob& j) {
    std::vector<std::string> options;
    if (j.Escp) {
        options.emplace_back("--escp");
    } else if (j.Pcl) {
        options.emplace_back("--pcl");
    } else if (!j.LanguageByReport) {
        options.emplace_back("--text");
    }
    if (j.FitPages) {
        options.emplace_back("--fit-pages");
    }
    return options;
}

bool inside(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.rfind(folder + "/", 0) == 0;
}

} // namespace

void WindowJobKeeping::start(const std::string& report_path) {
    m_report = report_path;
    m_folder.clear();
}

void WindowJobKeeping::printed(JobHistory* history, const PrintJob& j, const std::string& printer,
                               const std::string& pdf, int pages, std::time_t now) {
    if (history == nullptr || !history->settings().enabled() ||
        inside(m_report, history->settings().folder)) {
        return;
    }
    try {
        if (!m_folder.empty() && m_record.printer == printer && m_record.pdf == pdf) {
            m_record.pages = m_record.pages.value_or(0) + pages;
            history->update(m_folder, m_record);
            return;
        }
        m_record = JobRecord{};
        m_record.time = static_cast<std::int64_t>(now);
        m_record.report = m_report;
        m_record.pages = pages;
        m_record.printer = printer;
        m_record.pdf = pdf;
        m_record.options = options_of(j);
        if (!printer.empty()) {
            m_record.options.push_back("--printer=" + printer);
        }
        m_record.outcome = JobRecord::Outcome::Printed;
        m_folder = history->keep(m_report, m_record);
    } catch (const std::exception&) {
        m_folder.clear();
    }
}

} // namespace kvalon
