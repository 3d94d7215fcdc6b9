#pragma once

// The words of the windows: captions, menu items, buttons and labels (UTF-8).
// "&" marks the access key (Alt and the letter after it).
//
// Where the program's words live: a sentence the program says to its user
// (a message, a failure, a note, the usage, the words it prints on the page)
// goes into engine/messages.h, which every layer may use; a word that belongs
// to a window's control goes here. No other file holds words of the program,
// but for the table of Windows paper names (engine/paper_names.cpp).
namespace kvalon::captions {

inline constexpr const char* kMainTitle = "Отпечатване на DOS-файлове на Windows принтер";

// Menu window.
inline constexpr const char* kFileMenu = "&Файл ";
inline constexpr const char* kChooseFile = "&Избор";
inline constexpr const char* kPrintPreview = "&Печат";
inline constexpr const char* kPrinterMenu = "П&ринтер";
inline constexpr const char* kPdfPrinter = "PDF &файл…";
inline constexpr const char* kOffsetItem = "&Отместване на печата…";
// The offset dialog.
inline constexpr const char* kOffsetTitle = "Отместване на печата";
inline constexpr const char* kOffsetPrinter = "Принтер:";
inline constexpr const char* kOffsetAcross = "На&дясно, мм:";
inline constexpr const char* kOffsetDown = "На&долу, мм:";
inline constexpr const char* kOffsetMinusHint = "С минус: наляво и нагоре.";
inline constexpr const char* kCalibrationButton = "&Страница за измерване";
// How reports are read: told from each report, or one language for all.
inline constexpr const char* kLanguageMenu = "Ре&жим";
inline constexpr const char* kLanguageEscp = "&Epson (ESC/P)";
inline constexpr const char* kLanguageText = "&Текст";
inline constexpr const char* kLanguagePcl = "&LaserJet (PCL)";
// The form length the printer is set to, which Epson reports without their
// own rely on.
inline constexpr const char* kFormLengthMenu = "Дължина на &формата";
inline constexpr const char* kFormLength11 = "&11 in (279 mm)";
inline constexpr const char* kFormLength12 = "1&2 in (305 mm)";
inline constexpr const char* kFormLengthA4 = "&A4 (297 mm)";
// Then the lines chosen, when they are: " (70)".
inline constexpr const char* kFormLengthLines = "&Брой редове…";
inline constexpr const char* kCodePageMenu = "Ко&дова таблица";
// "Auto" of the code page and of the mode alike.
inline constexpr const char* kCodePageAuto = "&Автоматично (по самия отчет)";
inline constexpr const char* kFitPages = "&Страница на отчета на един лист";
inline constexpr const char* kHistoryItem = "Последни &задания…";
inline constexpr const char* kEndProgram = "&Край";
inline constexpr const char* kAbout = "&За програмата";
inline constexpr const char* kPrintData = " Данни за печата ";
inline constexpr const char* kPrinterRow = "Принтер";
inline constexpr const char* kFileRow = "Файл";
inline constexpr const char* kFontRow = "Фонт";
inline constexpr const char* kFontSizeRow = "Фонт-Размер";
inline constexpr const char* kCharsRow = "Символи на ред до";
inline constexpr const char* kLinesRow = "Редове на страница ";
inline constexpr const char* kOrientationRow = "Ориентация";
inline constexpr const char* kPaperSizeRow = "Лист-размери";
inline constexpr const char* kPaperNameRow = "Лист-вид";
inline constexpr const char* kJobSettingsRow = "Опции";
inline constexpr const char* kModeRow = "Режим";
inline constexpr const char* kCodePageRow = "Кодова таблица";
inline constexpr const char* kFormLengthRow = "Дължина на формата";
// After a code page the program told from the report itself.
inline constexpr const char* kCodePageToldMark = " (разпозната)";
inline constexpr const char* kModeText = "текст";
inline constexpr const char* kModeEscp = "Epson (ESC/P)";
// After a mode the program told from the report itself.
inline constexpr const char* kModeToldMark = " (разпознат)";
inline constexpr const char* kModePcl = "LaserJet (PCL)";
inline constexpr const char* kModeFitPages = ", стр. на един лист";
// The form length: "12 in", "A4", "70 реда", then " (305 mm)"; the mark
// after it for a report read as plain text, which has no form of its own.
inline constexpr const char* kFormLengthA4Name = "A4";
inline constexpr const char* kFormInches = " in";
inline constexpr const char* kFormLines = " реда";
inline constexpr const char* kFormEpsonOnly = ", само за Epson";
inline constexpr const char* kChooseReportHint =
    "Изберете отчет: Файл → Избор (Ctrl+O),\nили пуснете файла тук с мишката";
inline constexpr const char* kEscpOffer = "&Включване на ESC/P";
inline constexpr const char* kCodePageOffer = "&Автоматична кодова таблица";
inline constexpr const char* kLandscape = "Пейзаж (Landscape)";
inline constexpr const char* kPortrait = "Портрет (Portrait)";
inline constexpr const char* kChoosePdfTitle = "PDF файл за печат";

// About window; the version line is kVersion and the three numbers.
inline constexpr const char* kTradeName = "ЕТ \"Квалон\"";
inline constexpr const char* kAboutPurpose = "Печат на DOS-файлове на Windows-принтер";
inline constexpr const char* kVersionLabel = "Версия:";
inline constexpr const char* kVersion = "Версия ";

// Page preview window.
inline constexpr const char* kStart = "Начало ";
// Command2 until the job's page count is known.
inline constexpr const char* kPrintFirstPage = "Печат стр.1 ";
inline constexpr const char* kNextPage = "&Следваща стр.";
inline constexpr const char* kPreviousPage = "Пре&дишна стр.";
// Then the pages: "стр. 3", "стр. 2-4".
inline constexpr const char* kPrintAgain = "&Нов опит: ";
inline constexpr const char* kEndWithoutThisPage = "&Край без тази стр.";
inline constexpr const char* kNothingLeft = "&Последна стр.";
inline constexpr const char* kPrintPage = "&Печат стр. ";
inline constexpr const char* kMorePrinting = "&Още печат";
inline constexpr const char* kPrintAll = "&Всички страници";
inline constexpr const char* kPrintRange = "&Страници от… до…";
inline constexpr const char* kPrintOnView = "Страницата на &екрана";
inline constexpr const char* kFitPage = "&Цяла страница";
inline constexpr const char* kFitWidth = "По &ширина";
inline constexpr const char* kActualSize = "&100 %";
inline constexpr const char* kTextView = "Текст на страницата (само за четене, може да се копира)";
inline constexpr const char* kPageView = "Страницата, както ще се отпечата";

// The page range dialog.
inline constexpr const char* kRangeTitle = "Печат на страници";
inline constexpr const char* kRangeFrom = "&от страница";
inline constexpr const char* kRangeTo = "&до страница";

// The form length in lines.
inline constexpr const char* kFormLinesTitle = "Дължина на формата";
inline constexpr const char* kFormLinesLabel = "&Редове от 1/6 in на форма";

// The window of the jobs kept for printing again.
inline constexpr const char* kHistoryTitle = "Последни задания";
inline constexpr const char* kHistoryTime = "Време";
inline constexpr const char* kHistoryReport = "Отчет";
inline constexpr const char* kHistoryPages = "Страници";
inline constexpr const char* kHistoryPrinter = "Принтер";
inline constexpr const char* kHistoryOutcome = "Резултат";
inline constexpr const char* kHistoryReprint = "&Отпечатай отново";
inline constexpr const char* kHistoryPreview = "&Преглед";
inline constexpr const char* kClose = "&Затвори";

// Buttons of the dialogs and message boxes.
inline constexpr const char* kOk = "Добре";
inline constexpr const char* kCancel = "Отказ";
inline constexpr const char* kReplace = "&Замяна";
inline constexpr const char* kNewFile = "&Нов файл";
inline constexpr const char* kCancelAnswer = "&Отказ";

// The file dialog's own words, where Qt's translation has none.
inline constexpr const char* kFolderType = "Папка";
inline constexpr const char* kBytes = "байта";
inline constexpr const char* kKilobytes = "КБ";
inline constexpr const char* kMegabytes = "МБ";
inline constexpr const char* kGigabytes = "ГБ";

} // namespace kvalon::captions
