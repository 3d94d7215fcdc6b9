#pragma once

#include "printing/destination.h"

#include <QMenu>

#include <functional>
#include <memory>

class QActionGroup;

namespace kvalon {

class PrinterBinding;

// The printers the user can pick: the system print service's printers and
// the PDF printer writing a file the user names. The one printed on now is checked.
// The list is taken afresh each time the menu opens.
class PrinterMenu final : public QMenu {
    Q_OBJECT
public:
    using Chosen = std::function<void(std::shared_ptr<const Destination>)>;
    PrinterMenu(const QString& title, PrinterBinding& binding, Chosen chosen, QWidget* parent);

    void refresh();

private:
    void add_system_printer(const std::string& name);
    void choose_pdf();

    PrinterBinding& m_binding;
    Chosen m_chosen;
    QActionGroup* m_group = nullptr;
};

} // namespace kvalon
