#include "ui/qt/print_data_frame.h"

#include "ui/captions.h"
#include "ui/qt/design_font.h"
#include "ui/qt/path_label.h"
#include "ui/qt/twips.h"

#include <QFile>
#include <QLabel>

#include <algorithm>

namespace kvalon {

namespace {
constexpr int kRowHeight = 255;
constexpr int kTitleLeft = 120;
constexpr int kValueLeft = 2400;
constexpr int kValueRight = 120; // from the frame's right edge

struct Row {
    int top;
    const char* title_name;
    const char* title;
    int title_width;
    const char* value_name;
    int value_width;
};

// In the order of PrintDataRow.
constexpr Row kRows[kPrintDataRows] = {
    {480, "Label13", captions::kPrinterRow, 1455, "Label14", 4215},
    {840, "Label1", captions::kFileRow, 1455, "Label2", 4200},
    {1200, "Label3", captions::kFontRow, 1455, "Label6", 4200},
    {1560, "Label4", captions::kFontSizeRow, 1455, "Label5", 4200},
    {1920, "Label7", captions::kCharsRow, 2055, "Label8", 4200},
    {2280, "Label9", captions::kLinesRow, 2175, "Label10", 4200},
    {2640, "Label11", captions::kOrientationRow, 1455, "Label12", 4200},
    {3000, "Label15", captions::kPaperSizeRow, 1695, "Label16", 4215},
    {3360, "Label17", captions::kPaperNameRow, 1935, "Label18", 4215},
    {3720, "Label19", captions::kJobSettingsRow, 1455, "Label20", 4215},
    {4080, "Label21", captions::kModeRow, 1455, "Label22", 4215},
    {4440, "Label23", captions::kCodePageRow, 2175, "Label24", 4215},
    {4800, "Label25", captions::kFormLengthRow, 2175, "Label26", 4215},
};

bool is_path(std::size_t row) {
    return row == static_cast<std::size_t>(PrintDataRow::Printer) ||
           row == static_cast<std::size_t>(PrintDataRow::File);
}

QLabel* design_label(QLabel* label, const char* name, const QString& text) {
    label->setText(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(design_font(QStringLiteral("CourierCyr"), 9.75));
    return label;
}
} // namespace

PrintDataFrame::PrintDataFrame(QWidget* parent)
    : QGroupBox(QString::fromUtf8(captions::kPrintData), parent) {
    setObjectName(QStringLiteral("Frame1"));
    // Taller than designed: the rows of the queue's job settings, of the way
    // the report is read, of its code page and of the printer's form length
    // came after the design.
    setGeometry(twips_rect(840, 0, 6735, 5175));
    setFont(design_font(QStringLiteral("CourierCyr"), 12));
    QPalette value_palette = palette();
    value_palette.setColor(QPalette::Window, QColor(255, 255, 192));
    for (std::size_t row = 0; row < kPrintDataRows; ++row) {
        const Row& r = kRows[row];
        m_titles[row] = design_label(new QLabel(this), r.title_name, QString::fromUtf8(r.title));
        // Paths keep their file name in view however deep their folders are.
        QLabel* value = is_path(row) ? new PathLabel(this) : new QLabel(this);
        design_label(value, r.value_name, QString::fromLatin1(r.value_name));
        value->setAutoFillBackground(true);
        value->setPalette(value_palette);
        m_values[row] = value;
        m_shown[row] = true;
    }
    place_rows();
}

void PrintDataFrame::show_data(const PrintData& shown) {
    for (std::size_t row = 0; row < kPrintDataRows; ++row) {
        const PrintDataValue& value = shown.rows[row];
        if (value.text) {
            if (row == static_cast<std::size_t>(PrintDataRow::File)) {
                static_cast<PathLabel*>(m_values[row])
                    ->set_path(QFile::decodeName(value.text->c_str()));
            } else if (is_path(row)) {
                static_cast<PathLabel*>(m_values[row])
                    ->set_path(QString::fromStdString(*value.text));
            } else {
                m_values[row]->setText(QString::fromStdString(*value.text));
            }
        }
        if (value.tip) {
            m_values[row]->setToolTip(QString::fromStdString(*value.tip));
        }
        m_shown[row] = value.shown;
    }
    place_rows();
}

void PrintDataFrame::show_printer(const std::string& name) {
    static_cast<PathLabel*>(m_values[static_cast<std::size_t>(PrintDataRow::Printer)])
        ->set_path(QString::fromStdString(name));
}

void PrintDataFrame::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    place_rows();
}

void PrintDataFrame::place_rows() {
    std::size_t slot = 0;
    for (std::size_t row = 0; row < kPrintDataRows; ++row) {
        m_titles[row]->setVisible(m_shown[row]);
        m_values[row]->setVisible(m_shown[row]);
        if (!m_shown[row]) {
            continue;
        }
        const int top = kRows[slot++].top;
        m_titles[row]->setGeometry(twips_rect(kTitleLeft, top, kRows[row].title_width, kRowHeight));
        // A wider frame gives its room to the values: long paths show more.
        QRect value = twips_rect(kValueLeft, top, kRows[row].value_width, kRowHeight);
        value.setRight(std::max(value.right(), width() - twips_to_pixels_x(kValueRight)));
        m_values[row]->setGeometry(value);
    }
}

} // namespace kvalon
