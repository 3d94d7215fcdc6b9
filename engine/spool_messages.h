#pragma once

#include <string>

namespace kvalon::messages {

// A watched folder and a printer port: the log line of each job ("REPORT.TXT:
// отпечатан, 3 стр., към /out/REPORT.pdf, за 0.4 с"), what a watcher started
// again decides of the jobs a stopped one left, and why a watch cannot start.
inline const std::string kSpoolJobPrinted = ": отпечатан";
inline const std::string kSpoolJobNotPrinted = ": неотпечатан: ";
inline const std::string kJobPagesLead = ", ";
inline const std::string kJobPages = " стр.";
inline const std::string kJobWentTo = ", към ";
inline const std::string kJobTook = ", за ";
inline const std::string kJobSeconds = " с";
inline const std::string kJobMovedTo = "; файлът е в ";
inline const std::string kJobRemoved = "; файлът е изтрит";
inline const std::string kDefaultPrinterShown = "принтера по подразбиране";
inline const std::string kJobEndedWith = "печатът завърши с код ";
inline const std::string kSentNotMoved =
    ": изпратен преди спирането на наблюдението, но непреместен: сега се премества";
inline const std::string kPdfWholeAfterStop =
    ": печатът започна преди спирането и PDF файлът е цял: смята се за отпечатан";
inline const std::string kPdfMissingAfterStop =
    ": печатът започна преди спирането, а PDF файл няма: печата се отново";
inline const std::string kQueueJobAfterStop =
    ": печатът към опашката започна преди спирането; опашката има задание с това име: "
    "смята се за отпечатан";
inline const std::string kNoQueueJobAfterStop =
    ": печатът към опашката започна преди спирането; опашката няма задание с това име: "
    "печата се отново";
inline const std::string kMaybePrinted =
    "Възможно е да е отпечатан: печатът започна преди спирането на наблюдението, а опашката "
    "не отговори дали го има";
inline const std::string kPrintedNotMoved = "Отпечатан, но не може да се премести в ";
inline const std::string kClaimedBeforeStop = ": взет преди спирането, непечатан: печата се сега";
inline const std::string kNoSuchFolder = "няма такава папка";
inline const std::string kFolderUnusable = "Папката не може да се използва: ";
inline const std::string kPortUnusable = "Портът не може да се отвори: ";
inline const std::string kWatching = "Наблюдава се папка ";
inline const std::string kWatchingByLooks =
    " (системата не съобщава за промените в нея: проверява се всяка секунда)";
inline const std::string kListening = "Слуша се порт ";
inline const std::string kPortJob = "задание от порта ";
inline const std::string kPortJobLeftUnprinted =
    "Заданието от порта не е отпечатано: слушането спря, преди да го отпечата";

// The jobs kept for printing again: the list --history shows, and why a job
// could not be kept (the job prints all the same).
inline const std::string kHistoryOff =
    "Пазенето на последните задания е изключено (KVALON_HISTORY_DAYS или KVALON_HISTORY_MB е 0)";
inline const std::string kHistoryNoFolder =
    "Няма папка за пазене на заданията: не са дадени нито XDG_STATE_HOME, нито HOME";
inline const std::string kHistoryEmpty = "Няма пазени задания";
inline const std::string kHistorySettingUnusable =
    "Неизползваема настройка, важи стойността по подразбиране: ";
inline const std::string kHistoryNotKept = "Заданието не е запазено за повторен печат: ";
inline const std::string kHistoryNoSuchJob = "няма такова задание; пазените са ";
inline const std::string kHistoryNoJobs = "няма пазени задания";
inline const std::string kHistoryPdfTo = "PDF ";

} // namespace kvalon::messages
