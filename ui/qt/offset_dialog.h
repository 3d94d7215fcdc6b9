#pragma once

#include "engine/sheet_offset.h"

#include <QDialog>

#include <functional>
#include <string>

class QDoubleSpinBox;

namespace kvalon {

// Asks how far the printer's pages move on the sheet: across and down in
// millimetres, negative to the left and up, in steps of a tenth. "Добре"
// hands the offset to `chosen`; the calibration button hands it to
// `calibrate`, which prints the calibration page with it, and the dialog
// stays open for the offset read from that page. Opened window-modal and
// not waited for, so that the windows go on (and tests reach its boxes by
// their names: offsetAcross, offsetDown, printCalibration).
class OffsetDialog final : public QDialog {
    Q_OBJECT
public:
    using Take = std::function<void(const SheetOffset&)>;
    OffsetDialog(QWidget* parent, const std::string& printer_name, const SheetOffset& current,
                 Take chosen, Take calibrate);

    SheetOffset offset() const;

private:
    QDoubleSpinBox* m_across = nullptr;
    QDoubleSpinBox* m_down = nullptr;
};

} // namespace kvalon
