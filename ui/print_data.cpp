#include "ui/print_data.h"

#include "engine/escp/escp_form_length.h"
#include "engine/escp/escp_state.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "ui/captions.h"

#include <cmath>

namespace kvalon {

namespace {

std::string whole_number(double value) {
    return std::to_string(static_cast<long long>(value));
}

std::optional<std::string> orientation_text(const std::string& orientation) {
    if (orientation == "L") {
        return captions::kLandscape;
    }
    if (orientation == "P") {
        return captions::kPortrait;
    }
    return std::nullopt;
}

std::string mode_text(const PrintJob& j) {
    const PrinterLanguage language = language_of(j);
    std::string mode = language == PrinterLanguage::Epson ? captions::kModeEscp
                       : language == PrinterLanguage::Pcl ? captions::kModePcl
                                                          : captions::kModeText;
    if (j.LanguageByReport) {
        mode += captions::kModeToldMark;
    }
    if (j.FitPages) {
        mode += captions::kModeFitPages;
    }
    return mode;
}

} // namespace

std::string form_length_text(std::int64_t units) {
    const double mm = static_cast<double>(units) * 25.4 / static_cast<double>(kEscpUnitsPerInch);
    const std::string in_mm = " (" + std::to_string(std::lround(mm)) + " mm)";
    if (units % kEscpUnitsPerInch == 0) {
        return std::to_string(units / kEscpUnitsPerInch) + captions::kFormInches + in_mm;
    }
    if (parse_form_length("a4") == units) {
        return captions::kFormLengthA4Name + in_mm;
    }
    if (units % kEscpSixthInch == 0) {
        return std::to_string(units / kEscpSixthInch) + captions::kFormLines + in_mm;
    }
    return in_mm.substr(2, in_mm.size() - 3);
}

PrintData print_data(const PrintJob& j, const std::string& printer_name,
                     const JobPreview& preview) {
    PrintData data;
    data[PrintDataRow::Printer].text = printer_name;
    data[PrintDataRow::File].text = j.SourcePath;
    data[PrintDataRow::Font].text = j.FontFace;
    data[PrintDataRow::Size].text = std::to_string(j.FontSize);
    data[PrintDataRow::Chars].text = std::to_string(j.CharsPerLine);
    data[PrintDataRow::Lines].text = std::to_string(j.LinesPerPage);
    data[PrintDataRow::Orientation].text = orientation_text(j.Orientation);
    data[PrintDataRow::PaperSize].text =
        whole_number(j.PaperWidthMm) + " / " + whole_number(j.PaperHeightMm);
    data[PrintDataRow::PaperName].text = j.PaperName;
    // The settings are long and the note says what the page cannot do there:
    // the whole of both is in the row's tip, the note on the status line.
    PrintDataValue& settings = data[PrintDataRow::JobSettings];
    settings.text = preview.settings;
    settings.tip = preview.note.empty() ? preview.settings : preview.settings + "\n" + preview.note;
    settings.shown = !preview.settings.empty();
    data[PrintDataRow::Mode].text = mode_text(j);
    std::string code_page(code_page_name(j.CodePage));
    if (j.CodePageAsked && j.CodePageAsked->automatic) {
        code_page += captions::kCodePageToldMark;
    }
    data[PrintDataRow::CodePage].text = code_page;
    // Plain text has no form of its own to lose: the length counts for Epson
    // reports only.
    std::string form = form_length_text(j.PrinterFormLength);
    if (language_of(j) != PrinterLanguage::Epson) {
        form += captions::kFormEpsonOnly;
    }
    data[PrintDataRow::FormLength].text = form;
    data.note = preview.note;
    return data;
}

} // namespace kvalon
