#include "ui/printer_menu.h"

#include "printing/cups/printer_selection.h"
#include "printing/qt/printer_binding.h"
#include "ui/captions.h"
#include "ui/file_dialog.h"
#include "ui/user_settings.h"

#include <QActionGroup>
#include <QDir>
#include <QFile>

namespace kvalon {

namespace {
// Where the PDF printer's file dialog opens when it has written nothing yet.
std::string first_pdf_path() {
    std::string folder = remembered_folder();
    if (folder.empty()) {
        folder = QFile::encodeName(QDir::homePath()).toStdString();
    }
    return folder + "/kvalon-p.pdf";
}
} // namespace

PrinterMenu::PrinterMenu(const QString& title, PrinterBinding& binding, Chosen chosen,
                         QWidget* parent)
    : QMenu(title, parent), m_binding(binding), m_chosen(std::move(chosen)) {
    setObjectName(QStringLiteral("Printer_menu"));
    connect(this, &QMenu::aboutToShow, this, &PrinterMenu::refresh);
    refresh();
}

void PrinterMenu::refresh() {
    clear();
    delete m_group;
    m_group = new QActionGroup(this);
    for (const std::string& queue : cups_queue_names()) {
        add_queue(queue);
    }
    addSeparator();
    QAction* pdf = addAction(QString::fromUtf8(captions::kPdfPrinter));
    pdf->setObjectName(QStringLiteral("pdfPrinter"));
    pdf->setCheckable(true);
    pdf->setChecked(m_binding.is_bound() && m_binding.target().kind == PrinterTarget::Kind::Pdf);
    connect(pdf, &QAction::triggered, this, &PrinterMenu::choose_pdf);
    for (QAction* action : actions()) {
        if (action->isCheckable()) {
            m_group->addAction(action);
        }
    }
}

void PrinterMenu::add_queue(const std::string& queue) {
    QAction* action = addAction(QString::fromStdString(queue));
    action->setObjectName(QStringLiteral("queue:") + QString::fromStdString(queue));
    action->setCheckable(true);
    action->setChecked(m_binding.is_bound() &&
                       m_binding.target().kind == PrinterTarget::Kind::Cups &&
                       m_binding.target().queue == queue);
    connect(action, &QAction::triggered, this, [this, queue] {
        PrinterTarget target;
        target.kind = PrinterTarget::Kind::Cups;
        target.queue = queue;
        target.copies = m_binding.is_bound() ? m_binding.target().copies : 1;
        m_chosen(target);
    });
}

void PrinterMenu::choose_pdf() {
    const bool was_pdf =
        m_binding.is_bound() && m_binding.target().kind == PrinterTarget::Kind::Pdf;
    const std::string start = was_pdf ? m_binding.target().pdf_path : first_pdf_path();
    const std::string path = choose_pdf_file(parentWidget(), captions::kChoosePdfTitle, start);
    if (path.empty()) {
        return; // the check marks are set afresh when the menu opens again
    }
    PrinterTarget target;
    target.kind = PrinterTarget::Kind::Pdf;
    target.pdf_path = path;
    if (was_pdf) {
        target.paper_code = m_binding.target().paper_code;
        target.copies = m_binding.target().copies;
    }
    m_chosen(target);
}

} // namespace kvalon
