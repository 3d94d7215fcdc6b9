#include "ui/qt/offset_dialog.h"

#include "ui/captions.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace kvalon {

namespace {

QDoubleSpinBox* millimetre_box(QWidget* parent, const char* name, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(-kLargestOffsetMm, kLargestOffsetMm);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setValue(value);
    return box;
}

} // namespace

OffsetDialog::OffsetDialog(QWidget* parent, const std::string& printer_name,
                           const SheetOffset& current, Take chosen, Take calibrate)
    : QDialog(parent) {
    setObjectName(QStringLiteral("offsetDialog"));
    setWindowTitle(QString::fromUtf8(captions::kOffsetTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    m_across = millimetre_box(this, "offsetAcross", current.across_mm);
    m_down = millimetre_box(this, "offsetDown", current.down_mm);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(captions::kOk));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("offsetOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(captions::kCancel));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("offsetCancel"));
    QPushButton* calibration = buttons->addButton(QString::fromUtf8(captions::kCalibrationButton),
                                                  QDialogButtonBox::ActionRole);
    calibration->setObjectName(QStringLiteral("printCalibration"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this, chosen = std::move(chosen)] {
        chosen(offset());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(calibration, &QPushButton::clicked, this,
            [this, calibrate = std::move(calibrate)] { calibrate(offset()); });
    auto* form = new QFormLayout(this);
    auto* printer = new QLabel(QString::fromStdString(printer_name), this);
    printer->setObjectName(QStringLiteral("offsetPrinter"));
    form->addRow(QString::fromUtf8(captions::kOffsetPrinter), printer);
    form->addRow(QString::fromUtf8(captions::kOffsetAcross), m_across);
    form->addRow(QString::fromUtf8(captions::kOffsetDown), m_down);
    form->addRow(new QLabel(QString::fromUtf8(captions::kOffsetMinusHint), this));
    form->addRow(buttons);
}

SheetOffset OffsetDialog::offset() const {
    return {m_across->value(), m_down->value()};
}

} // namespace kvalon
