#include "ui/qt/printer_menu.h"

#include "printing/choice/printer_choice.h"
#include "printing/printer_binding.h"
#include "ui/captions.h"
#include "ui/qt/file_dialog.h"
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
    for (const std::string& name : system_printers().names()) {
        add_system_printer(name);
    }
    addSeparator();
    QAction* pdf = addAction(QString::fromUtf8(captions::kPdfPrinter));
    pdf->setObjectName(QStringLiteral("pdfPrinter"));
    pdf->setCheckable(true);
    pdf->setChecked(m_binding.is_bound() && m_binding.destination().file_output() != nullptr);
    connect(pdf, &QAction::triggered, this, &PrinterMenu::choose_pdf);
    for (QAction* action : actions()) {
        if (action->isCheckable()) {
            m_group->addAction(action);
        }
    }
}

void PrinterMenu::add_system_printer(const std::string& name) {
    const Destination* bound = m_binding.is_bound() ? &m_binding.destination() : nullptr;
    std::shared_ptr<const Destination> printer = system_printers().picked(bound, name);
    QAction* action = addAction(QString::fromStdString(name));
    action->setObjectName(QStringLiteral("queue:") + QString::fromStdString(name));
    action->setCheckable(true);
    action->setChecked(bound != nullptr && bound->is_same_printer(*printer));
    connect(action, &QAction::triggered, this, [this, printer] { m_chosen(printer); });
}

void PrinterMenu::choose_pdf() {
    const Destination* bound = m_binding.is_bound() ? &m_binding.destination() : nullptr;
    const FileOutput* file = bound != nullptr ? bound->file_output() : nullptr;
    const std::string start = file != nullptr ? file->path() : first_pdf_path();
    const std::string path = choose_pdf_file(parentWidget(), captions::kChoosePdfTitle, start);
    if (path.empty()) {
        return; // the check marks are set afresh when the menu opens again
    }
    m_chosen(picked_pdf_printer(bound, path));
}

} // namespace kvalon
