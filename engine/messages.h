#pragma once

#include "engine/code_page.h"
#include "engine/font_sizes.h"
#include "engine/line_limit.h"
#include "engine/paper_codes.h"
#include "engine/print_service_waits.h"
#include "engine/spool_messages.h"
#include "engine/units.h"

#include <cmath>
#include <string>

// Every sentence the program says to its user, in one place (UTF-8): its
// messages, failures and notes, the usage and the words it prints on a page.
// Any layer may use them. The words of the windows' controls (captions, menu
// items, buttons, labels) live in ui/captions.h; no other file holds words of
// the program, but for the table of Windows paper names (paper_names.cpp).
namespace kvalon::messages {

inline const std::string kTitle = "Kvalon-P";

inline const std::string kNoPrinter = "Няма инсталиран принтер";
inline const std::string kMissingFile = "Липсва файл ";
inline const std::string kNotRegularFile = "Не е обикновен файл: ";
inline const std::string kNeedsDesktop =
    "Прозорците на програмата изискват работен плот, а графичен дисплей няма";
inline const std::string kNeedsDesktopPackage =
    "Прозорците на програмата изискват пакета за работен плот kvalon-p, а е инсталиран "
    "само сървърът за печат kvalon-p-server";
inline const std::string kNoWindowsOnWindows =
    "Прозорците на програмата още не са готови за Windows: дайте ѝ отчет за печат";
inline const std::string kUnknownSystem = "Неизвестна операционна система";
inline const std::string kFontFileMissing = "В директорията на приложението липсва файл ";
inline const std::string kInstallFontYourself =
    "Трябва самостоятелно да инсталирате фонт CourierCyr";
inline const std::string kInstallFontFrom = "Трябва да инсталирате ";
inline const std::string kFromFile = " от файл ";
inline const std::string kEmptyFile = "Файл ";
inline const std::string kHasZeroLength = " е с нулева дължина";
inline const std::string kFileVanished = "Избраният файл вече не съществува: ";
inline const std::string kInternalError = "Вътрешна грешка на програмата: ";
// Detail of kInternalError for a failure that carries no words at all.
inline const std::string kUnknownFault = "неизвестна грешка";

// What the menu window's status line tells when a document has left.
inline const std::string kPagesSentTo = " стр. изпратени към принтер ";
inline const std::string kNothingPrinted = "Нищо не е отпечатано";
// A range of pages that prints nothing: past the report's end ("Отчетът има
// 6 стр.; страници 9-9 в него няма; нищо не е отпечатано"), or typed backwards.
inline const std::string kReportHas = "Отчетът има ";
inline const std::string kNoSuchPages = " стр.; в него няма страници ";
inline const std::string kRangeBackwards = "Обхватът е обърнат: от страница ";
inline const std::string kRangeBackwardsTo = " до страница ";
inline const std::string kNothingPrintedEnd = "; нищо не е отпечатано";
// The PDF printer's pages wait for their file until the preview closes:
// the count, this, and the file's path.
inline const std::string kPagesHeldForFile =
    " стр. чакат за PDF файла, който ще бъде записан при затваряне на прегледа: ";
inline const std::string kPrinterChosen = "Печатът отива на принтер ";
// The code page planning told from the report, then how sure it is.
inline const std::string kCodePageTold = "Кодова таблица на отчета: ";
inline const std::string kCodePageCertainty = " (разпозната със сигурност ";
// A code page chosen by hand that makes garbage of the report opened:
// kCodePageOtherwise, the told page, kCodePageCertainty, the percent, " %)",
// kCodePageNotChosen, the chosen page, kCodePageSwitchHint.
inline const std::string kCodePageOtherwise = "Отчетът е в кодова таблица ";
inline const std::string kCodePageNotChosen = ", а не в избраната ";
inline const std::string kCodePageSwitchHint = "; включете „Автоматично“";
// A job sent to a queue from the preview, as the status line follows it:
// the job's title, kOnQueue, the queue, ": " and its state.
inline const std::string kOnQueue = " на опашка ";
inline const std::string kJobSending = "изпраща се";
inline const std::string kJobWaiting = "чака за печат";
inline const std::string kJobHeld = "задържано";
inline const std::string kJobPrinting = "печата се";
inline const std::string kJobPrinted = "отпечатано";
inline const std::string kJobNotPrinted = "не е отпечатано";
// After the job's state, while its queue is stopped and keeps it.
inline const std::string kQueuePaused = " (опашката е спряна; заданието чака в нея)";
// The report's file changed or went away while it was shown.
inline const std::string kReportChanged =
    "Файлът на отчета е променен: отчетът е планиран отново и е показан от първата "
    "страница; нищо от него не е отпечатано";
// The same when pages of the earlier version were printed: then what became
// of them ("2 стр. изпратени към принтер PDF: PATH").
inline const std::string kReportChangedEarlierWritten =
    "Файлът на отчета е променен: отчетът е планиран отново и е показан от първата "
    "страница; отпечатаното от предишния му вид е записано: ";
inline const std::string kReportDeleted = "Файлът на отчета е изтрит: ";
inline const std::string kOnlyPageShown = "; печата се само страницата на екрана";
// A report that holds Epson sequences, shown with the ESC/P mode off.
inline const std::string kEpsonSequencesHint =
    "Отчетът съдържа команди за принтер Epson (ESC/P), които ще се отпечатат като букви; "
    "изберете „Файл → Режим → Epson (ESC/P)“";
// The PDF printer's file exists already: the question before it is replaced.
inline const std::string kPdfExists = "Файлът ";
inline const std::string kPdfExistsReplace =
    " вече съществува. Да бъде ли заменен? Иначе страниците отиват в нов файл: ";

// Words the program prints or shows besides its messages.
inline const std::string kFooterText = "Програми за счетоводство, склад и фактуриране";
inline const std::string kUnknownPaper = "Неизвестен";
inline const std::string kChooseFileTitle = "Избор на файл за печат";
// The pages of a job in its title, as queues show it: "стр. 3", "стр. 1-4".
inline const std::string kPagesWord = "стр. ";

// Failures the program reports in its own words.
inline const std::string kCannotRead = "Файлът не може да бъде прочетен: ";
inline const std::string kLineTooLong =
    "Ред, по-дълъг от " + std::to_string(kLongestLineAllowed) + " символа, във файл ";
inline const std::string kPaperTooSmall = "Листът е твърде малък за печат на файл ";
inline const std::string kPaperTooLarge = "Листът е твърде голям за печат на файл ";
inline const std::string kPrinterFailed = "Печатът не завърши: грешка на принтера ";
inline const std::string kCannotWrite = "Файлът не може да бъде записан: ";
inline const std::string kBadActionWord = "Неправилно действие в командния ред: ";
inline const std::string kBadOption = "Неправилна опция в командния ред: ";
inline const std::string kTooManyPages =
    "Повече от " + std::to_string(kMostPages) + " страници във файл ";
inline const std::string kPageTooFull = "Страница с повече печат, отколкото побира лист, във файл ";
// Details of kPageTooFull: what one page holds past its bound.
inline const std::string kCharactersOnOnePage = " знака на една страница";
inline const std::string kBytesOnOnePage = " байта на една страница";
inline const std::string kNotTextReport = "Файлът не е текстов отчет: ";
inline const std::string kBlankPages =
    "Отпечатаните страници са празни, въпреки че има какво да се печата във файл ";
// Detail of kBadOption for a code page the program does not know.
inline const std::string kKnownCodePages = "известни кодови таблици: ";
inline const std::string kReportTooLarge = "Твърде голям отчет: ";
inline const std::string kServiceNotAnswering = "Услугата за печат не отговаря: ";
inline const std::string kServiceNotInstalled =
    "Библиотеката на услугата за печат не може да бъде заредена: ";
// The report read from standard input, where a message names the report.
inline const std::string kStandardInput = "стандартен вход";
// Detail of kCannotRead when the source changed after it was planned.
inline const std::string kChangedDuringJob = "файлът е променен по време на печата";
// Detail of kReportTooLarge: the limit, in bytes.
inline const std::string kLargerThan = "над ";
inline const std::string kBytes = " байта";
// Detail of kTooManyPages when the copies make the sheets: "3 копия по
// 11000 страници".
inline const std::string kCopiesOf = " копия по ";
inline const std::string kCopiesOfMoreThan = " копия по над ";
inline const std::string kPagesEach = " страници";
// Detail of kCannotRead for a file that begins as a PDF and is none.
inline const std::string kNotAWholePdf = "документът PDF е непълен или повреден";
// Detail of kPaperTooLarge: the largest side a page may have.
inline const std::string kLargestPaperSide =
    "страна над " + std::to_string(std::lround(LargestSheetSideInches * MmPerInch)) + " мм";

// Notes that do not stop the job.
inline const std::string kStoppedWatching = "Програмата спря да следи заданието на опашка ";
inline const std::string kStoppedWatchingAfter = " след ";
inline const std::string kStoppedWatchingNotYetPrinted = " с; то още не е отпечатано";
inline const std::string kStoppedWatchingSilent =
    ": услугата за печат не отговаря; заданието е предадено цяло, но още не е отпечатано";
inline const std::string kCellsOutsidePrintable =
    "Страницата не се побира в частта от листа, която принтерът ";
inline const std::string kCellsOutsidePrintableEnd =
    " отпечатва; текст по краищата ѝ може да не излезе";
// The status line after an offset was chosen: kOffsetChosen, the offset,
// kOffsetChosenFor and the printer.
inline const std::string kOffsetChosen = "Отместване на печата ";
inline const std::string kOffsetChosenFor = " мм за принтера ";
// The title of the calibration page's document on a queue or in a PDF.
inline const std::string kCalibrationDocument = "Kvalon-P: страница за отместване на печата";
// The words the calibration page prints beside its cross.
inline const std::string kCalibrationTitle = "Отместване на печата";
inline const std::string kCalibrationNow = "Отместване сега: ";
inline const std::string kCalibrationMeasure = "Измерете от левия ръб на листа до";
inline const std::string kCalibrationMeasureMore =
    "отвесната линия на кръста и от горния ръб до хоризонталната.";
inline const std::string kCalibrationChange =
    "Колкото над 50 мм е мярката, с толкова намалете отместването;";
inline const std::string kCalibrationChangeMore = "колкото под 50 мм, с толкова го увеличете.";
// The printer's offset, then kOffsetOffSheetEnd.
inline const std::string kOffsetOffSheet = "Отместването на печата ";
inline const std::string kOffsetOffSheetEnd =
    " мм изкарва част от страницата извън листа; текст по краищата ѝ няма да излезе";

// Reasons, shown in brackets after the sentence above them.
inline const std::string kNoSuchQueue = "няма такава опашка за печат";
inline const std::string kServiceSilent = "услугата за печат не отговаря";
inline const std::string kQueueStopped = "опашката е спряна";
// What the Windows spooler tells of a printer or a job in trouble.
inline const std::string kSpoolerPaperOut = "няма хартия";
inline const std::string kSpoolerOffline = "принтерът не е на линия";
inline const std::string kSpoolerNeedsUser = "принтерът чака намеса";
inline const std::string kSpoolerPaperJam = "заседнала хартия";
inline const std::string kSpoolerDoorOpen = "отворен капак";
inline const std::string kSpoolerNoToner = "няма тонер";
inline const std::string kSpoolerError = "грешка на принтера";
inline const std::string kQueueRejects = "опашката не приема задания";
inline const std::string kJobStopped = "заданието е спряно от услугата за печат";
inline const std::string kJobAborted = "заданието е прекратено от услугата за печат";
inline const std::string kJobCancelled = "заданието е отменено";
// The printer's own message after the reason, in whatever language it speaks.
inline const std::string kPrinterSays = "; съобщение на принтера: „";
inline const std::string kPrinterSaysEnd = "“";
inline const std::string kServiceRefused = "услугата за печат отказа, код ";
inline const std::string kServiceDenied = "услугата за печат отказа достъп";
inline const std::string kDocumentNotStarted = "документът не може да бъде започнат";
inline const std::string kPageNotStarted = "новата страница не може да бъде започната";
inline const std::string kDocumentNotEnded = "документът не може да бъде завършен";
inline const std::string kDocumentIncomplete = "документът е непълен";
inline const std::string kAccessDenied = "отказан достъп";
inline const std::string kNoSuchPath = "няма такъв файл или папка";
inline const std::string kDiskFull = "няма свободно място";
inline const std::string kIsFolder = "това е папка";
inline const std::string kReadOnlyDisk = "дискът е само за четене";
inline const std::string kNotAFolder = "част от пътя не е папка";
inline const std::string kInputOutput = "грешка при четене или запис";
inline const std::string kTooBig = "файлът е твърде голям";
inline const std::string kQuotaExceeded = "квотата е изчерпана";
inline const std::string kIsTheReport = "това е самият отчет за печат";
inline const std::string kForeignLink = "връзка на друг потребител в обща папка; не се следва";
inline const std::string kNotOpenForThis = "файлът не е отворен за тази операция";
inline const std::string kNameTooLong = "името на файла е твърде дълго";
inline const std::string kTemporarilyUnavailable = "временно недостъпно, опитайте отново";
inline const std::string kTooManyLinks = "твърде много връзки";
inline const std::string kTooManyOpenFiles = "твърде много отворени файлове";
inline const std::string kOutOfMemory = "няма достатъчно памет";
inline const std::string kFileBusy = "файлът или устройството е заето";
inline const std::string kAlreadyExists = "файлът вече съществува";
inline const std::string kNotPossibleHere = "операцията не е възможна за този файл";
inline const std::string kNoSuchDevice = "няма такова устройство";
inline const std::string kOtherDisk = "файлът е на друг диск";
inline const std::string kPipeClosed = "другата страна затвори канала";
inline const std::string kTimedOut = "времето за изчакване изтече";
inline const std::string kConnectionRefused = "връзката е отказана";
inline const std::string kInterrupted = "операцията е прекъсната";
inline const std::string kStaleNetworkFile = "файлът на мрежовия диск вече не е достъпен";
inline const std::string kFolderNotEmpty = "папката не е празна";
inline const std::string kSystemError = "системна грешка ";
inline const std::string kUnknownMedia = "непознат размер на листа";
// Details of kNotTextReport: the document's kind ("документ PostScript"),
// and what cannot be done with it.
inline const std::string kDocumentOfKind = "документ ";
inline const std::string kHasNoLinesPerPage = ", който няма редове на страница";
inline const std::string kNotIntoPdf = ", който PDF принтерът не може да отпечата";
// Then the printer's name: its driver reads no such language.
inline const std::string kPrinterReadsNot = ", който не се чете от принтер ";
// Reasons of the PDF printer when a PostScript document cannot be made a PDF.
inline const std::string kPostScriptNotConverted = "PostScript документът не стана PDF: ";
inline const std::string kGhostscriptMissing =
    "липсва програмата gs, която превръща PostScript в PDF (пакет ghostscript)";
inline const std::string kGhostscriptTooLong = "gs не завърши за ";
inline const std::string kSeconds = " с";

// The print-server queue: setting it up and taking it down.
inline const std::string kQueueNotSetUp = "Опашката за печат не може да бъде създадена: ";
inline const std::string kQueueNotRemoved = "Опашката за печат не може да бъде премахната: ";
inline const std::string kBadQueueName = "неправилно име на опашка";
inline const std::string kQueueIsOwnDestination = "опашката не може да печата сама на себе си";
inline const std::string kNoDestinationQueue = "няма опашка ";
inline const std::string kDestinationIsOurs =
    "целевата опашка също е опашка на Kvalon-P, а тя трябва да печата на принтер";
inline const std::string kQueueNameTaken = "с това име вече има опашка, която печата другаде";
inline const std::string kNoQueuesOnWindows =
    "опашките на сървъра за печат се правят само в Linux (CUPS)";
// Detail of kBadOption for --watch and --listen in the Windows program.
inline const std::string kNoSpoolSourcesOnWindows =
    "наблюдението на папки и портове не се поддържа под Windows";
inline const std::string kNotOurQueue = "опашката не е на Kvalon-P и остава непроменена";
inline const std::string kNoAdminRights =
    "нужни са права за управление на печата (root или групата lpadmin)";
inline const std::string kBackendNotInstalled =
    "в папката на CUPS липсва програмата kvalon; инсталирайте пакета kvalon-p";
inline const std::string kTheQueue = "Опашката ";
inline const std::string kQueueReadyPrintsOn =
    " е готова: отчетите, пратени на нея, се отпечатват на ";
inline const std::string kQueueReadsCodePage = "Кодова таблица на отчетите: ";
inline const std::string kQueueReadsLanguage = "Отчетите се печатат ";
inline const std::string kQueueLanguageEpson = "като на матричен принтер Epson (ESC/P)";
inline const std::string kQueueLanguageText = "като обикновен текст";
inline const std::string kQueueFormLength = "Дължина на листа на принтера: ";
inline const std::string kQueueOffset = "Отместване на печата: ";
inline const std::string kClientsReachIt = "Клиентите я достигат така:\n";
inline const std::string kClientCups = "  друг компютър с CUPS: ";
inline const std::string kClientIpp = "  IPP:                  ";
inline const std::string kClientLpd = "  LPD (чрез cups-lpd):  сървър ";
inline const std::string kClientLpdQueue = ", опашка ";
inline const std::string kClientWindows = "  Windows (чрез Samba): ";
inline const std::string kReportWord = "ОТЧЕТ";
inline const std::string kServerNotSharing =
    "Сървърът още не споделя опашките си с мрежата; разрешете го с: cupsctl --share-printers\n";
inline const std::string kQueueRemoved = " е премахната.\n";
inline const std::string kQueueWasAbsent = "Опашка с това име няма; нищо не е променено: ";

// The print-server backend: what CUPS shows beside the job.
inline const std::string kBackendUsage =
    "Употреба: kvalon ЗАДАНИЕ ПОТРЕБИТЕЛ ЗАГЛАВИЕ КОПИЯ ОПЦИИ [ФАЙЛ]\n"
    "Програма на CUPS за опашка с адрес kvalon:/ОПАШКА: отпечатва всеки отчет на\n"
    "DOS-програма, пратен на опашката, на ОПАШКА на същия сървър. Опашката се\n"
    "създава с: kvalon-p --setup-queue ИМЕ ОПАШКА\n";
inline const std::string kBackendDeviceInfo = "Kvalon-P: отчети на DOS-програми към друга опашка";
inline const std::string kNoDestinationInUri = "адресът на опашката трябва да е kvalon:/ОПАШКА";
inline const std::string kBackendPrinting = "Отчетът се подготвя за печат на ";
inline const std::string kBackendHandedOver = "Отчетът е предаден на ";
inline const std::string kBackendDocumentHandedOver = "Документът е предаден непроменен на ";
inline const std::string kBackendPages = " стр.";
// An option of the client's job that the destination job does not carry.
inline const std::string kOptionNotPassed = "Опцията ";
inline const std::string kOptionNotPassedTo = " не се предава на ";
inline const std::string kOptionDecidedHere = ": програмата я определя сама";
inline const std::string kOptionDescribesJob = ": тя описва заданието на този сървър";
inline const std::string kOptionUnknownThere = ": опашката не обявява такава настройка";
inline const std::string kOptionValueNotTaken = ": принтерът не приема тази стойност (приема ";
inline const std::string kOptionValueNotTakenEnd = ")";

// The command line's help, shown by --help and after an unusable option.
inline const std::string kUsage =
    "Употреба: kvalon-p [ОПЦИИ] [ФАЙЛ [ДЕЙСТВИЕ [РАЗМЕР]]]\n"
    "Отпечатва текстов отчет на DOS-програма (кодова таблица MIK или друга).\n"
    "\n"
    "  ФАЙЛ       отчетът; \"-\" чете отчета от стандартния вход\n"
    "  ДЕЙСТВИЕ   1 само планира и записва редовете на страница в TMPPRNT1.TMP\n"
    "             до файла; 0 или друго число отпечатва (по подразбиране 0)\n"
    "  РАЗМЕР     най-малкият размер на шрифта за портрет, " +
    std::string(FontSizeList.front()) + " до " + FontSizeList.back() + " (по подразбиране " +
    FontSizeList[kDefaultFontSizeIndex] +
    ")\n"
    "Думите се разделят с интервал, запетая или запетая и интервал.\n"
    "Без думи се отваря прозорецът с менюто (само на работен плот).\n"
    "\n"
    "Опции:\n"
    "  --plan          показва плана на печата (Name=value) и не печата\n"
    "  --escp          печат като на матричен принтер Epson: командите ESC/P\n"
    "                  се изпълняват (разредка, дължина на листа, табулации,\n"
    "                  полета, шрифтове, графика), а не се печатат като букви\n"
    "  --pcl           печат като на лазерен принтер LaserJet: заданието на PCL 5\n"
    "                  се изпълнява (позиции, шрифтове, правоъгълници, растер)\n"
    "  --render        заданието на PCL се изчертава от програмата и за принтер,\n"
    "                  който сам чете PCL\n" +
    code_page_usage_lines("  --code-page ИМЕ кодовата таблица на отчета: ", " (по подразбиране)") +
    "\n"
    "                  (и имената им в iconv), или auto: програмата я разпознава\n"
    "                  по самия отчет и при съмнение чете MIK\n"
    "  --form-length Д дължината на листа, на която е нагласен принтерът Epson\n"
    "                  (11in по подразбиране, 12in, a4, 297mm или 72 реда);\n"
    "                  команда ESC C в отчета я сменя\n"
    "  --fit-pages     всяка страница, която отчетът започва със знак за нова\n"
    "                  страница, се отпечатва на един лист (шрифтът се смалява)\n"
    "  --offset X,Y    отмества печата на листа с X мм надясно и Y мм надолу\n"
    "                  (с минус: наляво и нагоре), за предварително отпечатани\n"
    "                  бланки; дроби с точка (1.5,-2) или със запетая (1,5;-2)\n"
    "  --printer ИМЕ   печат на тази опашка на CUPS вместо по подразбиране;\n"
    "                  ОПАШКА/ИНСТАНЦИЯ взема и настройките на инстанцията\n"
    "  --pdf ФАЙЛ      печат в PDF файл (вграденият PDF принтер)\n"
    "  --paper КОД     размер на листа на PDF принтера, код на Windows (" +
    std::to_string(PaperA4) +
    " = A4)\n"
    "  --copies N      брой копия, 1 до " +
    std::to_string(kMostCopies) +
    "\n"
    "  --open [ФАЙЛ]   отваря прозорците с този отчет, избран и готов за печат;\n"
    "                  без файл отваря прозореца с менюто\n"
    "  --setup-queue ИМЕ ОПАШКА\n"
    "                  създава на този сървър опашка ИМЕ за отчетите на други\n"
    "                  компютри; те се отпечатват на ОПАШКА (нужни са права lpadmin);\n"
    "                  с --code-page ИМЕ опашката чете отчетите в тази таблица,\n"
    "                  а --escp, --text, --form-length и --offset стават нейни\n"
    "                  настройки по подразбиране (опциите на заданието ги сменят)\n"
    "  --remove-queue ИМЕ\n"
    "                  премахва такава опашка\n"
    "  --watch ПАПКА   отпечатва всеки файл, който се появи в папката, щом е\n"
    "                  затворен и не се е променял --settle СЕКУНДИ (2); после\n"
    "                  го мести в ПАПКА/printed/ (с --remove го изтрива), а\n"
    "                  неуспешния - в ПАПКА/failed/ до ИМЕ.reason с причината;\n"
    "                  --pattern ШАБЛОН (и повече) взема само такива файлове;\n"
    "                  --pdf ПАПКА пише по един PDF файл на задание там\n"
    "  --listen ИЗТОЧНИК\n"
    "                  отпечатва байтовете на порт за принтер: именуван канал,\n"
    "                  unix:ПЪТ или tcp:АДРЕС:ПОРТ; заданието свършва, когато\n"
    "                  портът мълчи --idle СЕКУНДИ (5) или връзката се затвори.\n"
    "                  Опциите пред --watch и --listen важат за всяко задание.\n"
    "  --history       показва пазените последни задания, най-новото с номер 1\n"
    "  --reprint N     отпечатва отново задание N от --history със същите опции;\n"
    "                  дадените (--printer, --pdf, --copies...) сменят запазените\n"
    "  --help          тази помощ\n"
    "  --version       версията\n"
    "\n"
    "Среда: KVALON_PDF=ФАЙЛ прави PDF принтера принтер по подразбиране;\n"
    "KVALON_PAPER=КОД дава листа му; KVALON_ESCP=1 включва --escp,\n"
    "KVALON_ESCP=0 - --text;\n"
    "KVALON_FORM_LENGTH=Д дава --form-length; KVALON_OFFSET=X,Y дава --offset;\n"
    "KVALON_CODE_PAGE=ИМЕ избира кодовата таблица като --code-page;\n"
    "KVALON_HISTORY_DAYS=ДНИ (14) и KVALON_HISTORY_MB=МБ (200) казват колко\n"
    "задания се пазят в $XDG_STATE_HOME/kvalon-p/history; 0 спира пазенето;\n"
    "CUPS_SERVER=хост:порт избира сървър за печат; KVALON_JOB_WAIT=СЕКУНДИ\n"
    "колко дълго се следи заданието на опашката до отпечатването му (" +
    std::to_string(kJobWaitSeconds) +
    ");\n"
    "KVALON_SERVICE_WAIT=СЕКУНДИ колко дълго се чака отговор от услугата за\n"
    "печат (" +
    std::to_string(kPrintServiceSeconds) +
    ").\n"
    "\n"
    "Изходен код: 0 готово; 1 неочаквана грешка; 2 неправилен команден ред;\n"
    "3 няма принтер или услугата за печат не отговаря до " +
    std::to_string(kPrintServiceSeconds) +
    " с; 4 липсва файл\n"
    "или не е обикновен файл; 5 печатът не е извършен (нечетим, променен или\n"
    "празен файл, твърде дълъг ред, над " +
    std::to_string(kMostPages) +
    " страници, отчет над 2 GiB,\n"
    "твърде малък или твърде голям лист, незаписваем изходен файл или самият\n"
    "отчет като изходен файл, грешка на принтера, документ PCL за PDF принтера\n"
    "при --text, празни страници от файл с данни за печат); 6 опашката за\n"
    "печат не може да бъде създадена или премахната.\n"
    "\n"
    "Документ PostScript или PDF (а не текстов отчет) отива непроменен на\n"
    "опашката на CUPS; в PDF принтера PDF се копира, а PostScript се превръща.\n"
    "Задание на PCL се изчертава от програмата, освен за опашка, която сама\n"
    "чете PCL (там отива непроменено, ако не е дадено --render).\n";

} // namespace kvalon::messages
