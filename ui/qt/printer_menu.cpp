#include "ui/qt/printer_menu.h"

#include "printing/printer_binding.h"
#include "ui/captions.h"
#include "ui/printer_offers.h"
#include "ui/qt/file_dialog.h"

#include <QActionGroup>
#include <QDir>
#include <QFile>

namespace kvalon {

namespace {
std::string home_folder() {
    return QFile::encodeName(QDir::homePath()).toStdString();
}
} // namespace

PrinterMenu::PrinterMenu(const QString& title, const PrinterBinding& binding,
                         const UserSettings& settings, Chosen chosen,
                         std::function<void()> offset_asked, QWidget* parent)
    : QMenu(title, parent), m_binding(binding), m_settings(settings), m_chosen(std::move(chosen)),
      m_offset_asked(std::move(offset_asked)) {
    setObjectName(QStringLiteral("Printer_menu"));
    connect(this, &QMenu::aboutToShow, this, &PrinterMenu::refresh);
    refresh();
}

void PrinterMenu::refresh() {
    clear();
    delete m_group;
    m_group = new QActionGroup(this);
    const PrinterOffers offers = printer_offers(m_binding);
    for (const PrinterOffer& offer : offers.printers) {
        QAction* action = addAction(QString::fromStdString(offer.name));
        action->setObjectName(QStringLiteral("queue:") + QString::fromStdString(offer.name));
        action->setCheckable(true);
        action->setChecked(offer.bound);
        connect(action, &QAction::triggered, this,
                [this, name = offer.name] { m_chosen(picked_printer(m_binding, name)); });
    }
    addSeparator();
    QAction* pdf = addAction(QString::fromUtf8(captions::kPdfPrinter));
    pdf->setObjectName(QStringLiteral("pdfPrinter"));
    pdf->setCheckable(true);
    pdf->setChecked(offers.pdf_bound);
    connect(pdf, &QAction::triggered, this, &PrinterMenu::choose_pdf);
    for (QAction* action : actions()) {
        if (action->isCheckable()) {
            m_group->addAction(action);
        }
    }
    addSeparator();
    // Queued: the dialog opens once the menu has closed (see the file menu).
    QAction* offset = addAction(QString::fromUtf8(captions::kOffsetItem));
    offset->setObjectName(QStringLiteral("printOffset"));
    offset->setEnabled(m_binding.is_bound());
    connect(
        offset, &QAction::triggered, this, [this] { m_offset_asked(); }, Qt::QueuedConnection);
}

void PrinterMenu::choose_pdf() {
    const std::string start = pdf_start(m_binding, m_settings, home_folder());
    const std::string path = choose_pdf_file(parentWidget(), captions::kChoosePdfTitle, start);
    if (path.empty()) {
        return; // the check marks are set afresh when the menu opens again
    }
    m_chosen(picked_pdf(m_binding, path));
}

} // namespace kvalon
