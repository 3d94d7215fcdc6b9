#pragma once

#include "printing/destination.h"

#include <QMenu>

#include <functional>
#include <memory>

class QActionGroup;

namespace kvalon {

class PrinterBinding;
class UserSettings;

// The printers the user can pick: the system print service's printers and
// the PDF printer writing a file the user names. The one printed on now is checked.
// The list is taken afresh each time the menu opens.
class PrinterMenu final : public QMenu {
    Q_OBJECT
public:
    using Chosen = std::function<void(std::shared_ptr<const Destination>)>;
    // `offset_asked` opens the offset dialog for the printer bound.
    PrinterMenu(const QString& title, const PrinterBinding& binding, const UserSettings& settings,
                Chosen chosen, std::function<void()> offset_asked, QWidget* parent);

    void refresh();

private:
    void choose_pdf();

    const PrinterBinding& m_binding;
    const UserSettings& m_settings;
    Chosen m_chosen;
    std::function<void()> m_offset_asked;
    QActionGroup* m_group = nullptr;
};

} // namespace kvalon
