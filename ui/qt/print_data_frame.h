#pragma once

#include "ui/print_data.h"

#include <QGroupBox>

#include <array>

class QLabel;

namespace kvalon {

// The menu window's print data ("Frame1"): a title and a value for each row
// of the print data, in the design's places and names ("Label13", "Label14"
// ...). A hidden row leaves no gap: the rows below move up into its place.
class PrintDataFrame final : public QGroupBox {
    Q_OBJECT
public:
    explicit PrintDataFrame(QWidget* parent);

    void show_data(const PrintData& shown);
    // The printer's row alone, the printer changed.
    void show_printer(const std::string& name);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place_rows();

    std::array<QLabel*, kPrintDataRows> m_titles{};
    std::array<QLabel*, kPrintDataRows> m_values{};
    std::array<bool, kPrintDataRows> m_shown{};
};

} // namespace kvalon
