#pragma once

#include "engine/history/job_history.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QTreeWidget;

namespace kvalon {

// "Последни задания…": the jobs kept for printing again, newest first
// (time, report, pages, printer, outcome), with a button to print the
// chosen one again and one to open it in the preview; each hands the kept
// report's file to its callback and closes the window. Opened window-modal
// and not waited for (tests reach it by its names: historyList, reprintJob,
// previewJob).
class HistoryWindow final : public QDialog {
    Q_OBJECT
public:
    using Take = std::function<void(const std::string& report_path)>;
    HistoryWindow(QWidget* parent, std::vector<KeptJob> jobs, Take reprint, Take preview);

private:
    void fill_list();
    void hand_over(const Take& take);
    std::vector<KeptJob> m_jobs;
    QTreeWidget* m_list = nullptr;
};

} // namespace kvalon
