#pragma once

#include "engine/code_page.h"
#include "engine/document_kind.h"
#include "engine/escp/escp_job.h"
#include "engine/pcl/pcl_job.h"
#include "engine/sheet_offset.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Everything known about the one job the program handles at a time. Text
// fields hold bytes 0..255 of the source, one byte per character, in the
// job's code page (MIK unless another was asked for).
// Integer fields are 16-bit signed like the DOS callers expect; LineCount is
// 32-bit. Millimetre fields are single precision where the cell grid uses them.
struct PrintJob {
    std::vector<std::string> ParamList;
    std::string SourcePath;
    bool CommandLineJob = false;
    std::int16_t PageNumber = 0;
    double PageCount = 0;
    std::int32_t LineCount = 0;
    std::int16_t LongestLine = 0;
    std::int16_t CharsPerLine = 0;
    std::int16_t LinesPerPage = 0;
    std::string FontFace;
    std::int16_t FontSize = 0;
    std::string Orientation;
    std::string PageText;
    std::string PrintText;
    bool SourceDone = false;
    std::string LastFileName;
    std::int16_t LeftIndent = 0;
    std::string FontFileName;
    double PaperWidthMm = 0;
    double PaperHeightMm = 0;
    std::string PaperName;
    float LineHeight = 0;
    float CharWidth = 0;
    std::string SkipChar;
    // The printer language the report is read in: present, the report is read
    // as an Epson-compatible printer reads it (ESC/P), sequences consumed and
    // acting on the print, not printed as letters; absent, it is plain text
    // (engine/printer_language.h chooses).
    std::optional<EscpJob> Escp;
    // Present, the report is a PCL job read as a LaserJet reads it
    // (engine/pcl/); at most one of Escp and Pcl is present.
    std::optional<PclJob> Pcl;
    // The language was not asked for: planning tells it from the report
    // (engine/printer_language.h).
    bool LanguageByReport = false;
    // The form length the printer was set to, which a report without ESC C
    // relies on (printer units, engine/escp/escp_state.h).
    std::int64_t PrinterFormLength = kEscpDefaultFormLength;
    // The form length was given for this run (command line, environment):
    // the windows' remembered choice does not replace it.
    bool PrinterFormLengthAsked = false;
    // The offset given for this run (command line, environment): every
    // printer the windows bind prints with it instead of the one remembered
    // for that printer, until one is chosen in them.
    std::optional<SheetOffset> OffsetAsked;
    // A report that makes its own pages with form feeds gets each of them on
    // one sheet, as the ESC/P mode always lays out a printer's page. Off
    // unless asked for: plans and TMPPRNT1.TMP answers stay as the DOS
    // callers know them.
    bool FitPages = false;
    // The report holds something that prints: a page that comes out blank
    // then means the report was not understood.
    bool PrintableData = false;
    // Not Text: the file was a document, passed on as it is, not printed.
    DocumentKind Document = DocumentKind::Text;
    // The code page asked for on the command line, in the environment, by
    // the queue or in the windows; nothing asked means MIK.
    std::optional<CodePageChoice> CodePageAsked;
    // The code page the report is read in: the one asked for, or the one
    // planning told from the report, with how sure it is (0..100).
    CodePageId CodePage = CodePageId::Mik;
    int CodePageCertainty = 100;
};

// The process-wide job record.
PrintJob& job();
// Back to the values at process start; closes the job's source file.
void reset_job();

} // namespace kvalon
