#pragma once

#include "printing/printer_target.h"

#include <QMenu>

#include <functional>

class QActionGroup;

namespace kvalon {

class PrinterBinding;

// The printers the user can pick: the print service's queues and the PDF
// printer writing a file the user names. The one printed on now is checked.
// The list is taken afresh each time the menu opens.
class PrinterMenu final : public QMenu {
    Q_OBJECT
public:
    using Chosen = std::function<void(const PrinterTarget&)>;
    PrinterMenu(const QString& title, PrinterBinding& binding, Chosen chosen, QWidget* parent);

    void refresh();

private:
    void add_queue(const std::string& queue);
    void choose_pdf();

    PrinterBinding& m_binding;
    Chosen m_chosen;
    QActionGroup* m_group = nullptr;
};

} // namespace kvalon
