#include "ui/qt/history_window.h"

#include "engine/history/kept_job_columns.h"
#include "engine/messages.h"
#include "ui/captions.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kvalon {

HistoryWindow::HistoryWindow(QWidget* parent, std::vector<KeptJob> jobs, Take reprint, Take preview)
    : QDialog(parent), m_jobs(std::move(jobs)) {
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(QString::fromUtf8(captions::kHistoryTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QString::fromUtf8(captions::kHistoryTime), QString::fromUtf8(captions::kHistoryReport),
         QString::fromUtf8(captions::kHistoryPages), QString::fromUtf8(captions::kHistoryPrinter),
         QString::fromUtf8(captions::kHistoryOutcome)});
    fill_list();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QString::fromUtf8(captions::kClose));
    QPushButton* again = buttons->addButton(QString::fromUtf8(captions::kHistoryReprint),
                                            QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("reprintJob"));
    QPushButton* view = buttons->addButton(QString::fromUtf8(captions::kHistoryPreview),
                                           QDialogButtonBox::ActionRole);
    view->setObjectName(QStringLiteral("previewJob"));
    for (QPushButton* button : {again, view}) {
        button->setEnabled(!m_jobs.empty());
    }
    connect(again, &QPushButton::clicked, this,
            [this, reprint = std::move(reprint)] { hand_over(reprint); });
    connect(view, &QPushButton::clicked, this,
            [this, preview = std::move(preview)] { hand_over(preview); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, view, &QPushButton::click);
    auto* layout = new QVBoxLayout(this);
    if (m_jobs.empty()) {
        layout->addWidget(new QLabel(QString::fromStdString(messages::kHistoryEmpty), this));
    }
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(900, 360);
}

void HistoryWindow::fill_list() {
    for (const KeptJob& kept : m_jobs) {
        const KeptJobColumns shown = kept_job_columns(kept.record);
        auto* item = new QTreeWidgetItem(m_list);
        const std::string* texts[] = {&shown.time, &shown.report, &shown.pages, &shown.printer,
                                      &shown.outcome};
        for (int column = 0; column < 5; ++column) {
            item->setText(column, QString::fromStdString(*texts[column]));
        }
    }
    if (!m_jobs.empty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

// The windows take the report once this window has gone.
void HistoryWindow::hand_over(const Take& take) {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= m_jobs.size()) {
        return;
    }
    const std::string path = m_jobs[static_cast<std::size_t>(row)].report_path();
    accept();
    take(path);
}

} // namespace kvalon
