#include "printing/spooler/win32_raw_job.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/spooler/win32_text.h"

#include <vector>
#include <winspool.h>

namespace kvalon {

namespace {

constexpr DWORD kRawChunk = 64 * 1024;

// The job's and printer's trouble bits in our words.
std::string trouble_words(DWORD job_status, DWORD printer_status) {
    struct Bit {
        DWORD job;
        DWORD printer;
        const std::string& words;
    };
    const Bit bits[] = {
        {JOB_STATUS_PAPEROUT, PRINTER_STATUS_PAPER_OUT, messages::kSpoolerPaperOut},
        {JOB_STATUS_OFFLINE, PRINTER_STATUS_OFFLINE, messages::kSpoolerOffline},
        {JOB_STATUS_USER_INTERVENTION, PRINTER_STATUS_USER_INTERVENTION,
         messages::kSpoolerNeedsUser},
        {0, PRINTER_STATUS_PAPER_JAM, messages::kSpoolerPaperJam},
        {0, PRINTER_STATUS_DOOR_OPEN, messages::kSpoolerDoorOpen},
        {0, PRINTER_STATUS_NO_TONER, messages::kSpoolerNoToner},
        {JOB_STATUS_ERROR, PRINTER_STATUS_ERROR, messages::kSpoolerError},
        {JOB_STATUS_DELETED | JOB_STATUS_DELETING, 0, messages::kJobCancelled},
    };
    std::string words;
    for (const Bit& bit : bits) {
        if ((job_status & bit.job) != 0 || (printer_status & bit.printer) != 0) {
            words += (words.empty() ? "" : ", ") + bit.words;
        }
    }
    return words;
}

void write_file_to(HANDLE printer, HANDLE file, const std::string& path) {
    std::vector<BYTE> chunk(kRawChunk);
    DWORD read = 0;
    while (::ReadFile(file, chunk.data(), kRawChunk, &read, nullptr) && read > 0) {
        DWORD written = 0;
        if (!::WritePrinter(printer, chunk.data(), read, &written) || written != read) {
            throw KvalonError(ErrorKind::Printer, path,
                              messages::kDocumentIncomplete + ": " + last_error_words());
        }
    }
}

} // namespace

PrinterHandle::PrinterHandle(const std::string& printer) {
    std::wstring name = wide_of(printer);
    if (!::OpenPrinterW(name.data(), &m_handle, nullptr)) {
        throw KvalonError(ErrorKind::Printer, printer, messages::kNoSuchQueue);
    }
}

PrinterHandle::~PrinterHandle() {
    ::ClosePrinter(m_handle);
}

std::wstring PrinterHandle::driver() const {
    DWORD needed = 0;
    ::GetPrinterW(m_handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !::GetPrinterW(m_handle, 2, buffer.data(), needed, &needed)) {
        return {};
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return info->pDriverName != nullptr ? info->pDriverName : L"";
}

DWORD PrinterHandle::status() const {
    DWORD needed = 0;
    ::GetPrinterW(m_handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !::GetPrinterW(m_handle, 2, buffer.data(), needed, &needed)) {
        return 0;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return info->Status;
}

int send_raw_job(const std::string& printer, const std::string& title, const std::string& path,
                 int copies) {
    const std::wstring wide_path = wide_of(path);
    HANDLE file = ::CreateFileW(wide_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw KvalonError(ErrorKind::File, path, last_error_words());
    }
    PrinterHandle handle(printer);
    std::wstring document = wide_of(title);
    std::wstring raw = L"RAW";
    DOC_INFO_1W info{document.data(), nullptr, raw.data()};
    const DWORD job = ::StartDocPrinterW(handle.get(), 1, reinterpret_cast<BYTE*>(&info));
    if (job == 0) {
        ::CloseHandle(file);
        throw KvalonError(ErrorKind::Printer, printer,
                          messages::kDocumentNotStarted + ": " + last_error_words());
    }
    try {
        for (int copy = 0; copy < copies; ++copy) {
            ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
            write_file_to(handle.get(), file, printer);
        }
    } catch (...) {
        ::CloseHandle(file);
        ::SetJobW(handle.get(), job, 0, nullptr, JOB_CONTROL_DELETE);
        ::EndDocPrinter(handle.get());
        throw;
    }
    ::CloseHandle(file);
    if (!::EndDocPrinter(handle.get())) {
        throw KvalonError(ErrorKind::Printer, printer,
                          messages::kDocumentNotEnded + ": " + last_error_words());
    }
    return static_cast<int>(job);
}

// A job the spooler no longer has has left the queue: printed, unless it
// was seen deleted before it printed.
SpoolerJobLook look_at_spooler_job(const std::string& printer, int job) {
    PrinterHandle handle(printer);
    const DWORD printer_status = handle.status();
    SpoolerJobLook look;
    DWORD needed = 0;
    ::GetJobW(handle.get(), static_cast<DWORD>(job), 1, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 ||
        !::GetJobW(handle.get(), static_cast<DWORD>(job), 1, buffer.data(), needed, &needed)) {
        look.gone = true;
        return look;
    }
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    const DWORD status = info->Status;
    const DWORD failing = JOB_STATUS_ERROR | JOB_STATUS_PAPEROUT | JOB_STATUS_OFFLINE |
                          JOB_STATUS_USER_INTERVENTION | JOB_STATUS_BLOCKED_DEVQ;
    look.gone = (status & (JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE)) != 0;
    look.failed = (status & failing) != 0 ||
                  ((status & (JOB_STATUS_DELETED | JOB_STATUS_DELETING)) != 0 && !look.gone);
    look.printing = (status & JOB_STATUS_PRINTING) != 0;
    look.paused = (status & JOB_STATUS_PAUSED) != 0 || (printer_status & PRINTER_STATUS_PAUSED);
    look.status = trouble_words(status, look.failed ? printer_status : 0);
    if (const std::string own = utf8_of(info->pStatus); !own.empty()) {
        look.status += (look.status.empty() ? "" : messages::kPrinterSays) + own +
                       (look.status.empty() ? "" : messages::kPrinterSaysEnd);
    }
    return look;
}

} // namespace kvalon
