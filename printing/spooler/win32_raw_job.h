#pragma once

#include "printing/spooler/spooler_api.h"

#include <string>
#include <windows.h>

namespace kvalon {

// An open printer of the spooler, closed on every path. Throws
// KvalonError(Printer) for a printer there is no such.
class PrinterHandle {
public:
    explicit PrinterHandle(const std::string& printer);
    ~PrinterHandle();
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    HANDLE get() const { return m_handle; }
    // Its driver's name (PRINTER_INFO_2).
    std::wstring driver() const;
    // The printer's own status bits.
    DWORD status() const;

private:
    HANDLE m_handle = nullptr;
};

// The file's bytes as one RAW job of `copies` documents; its job's id.
int send_raw_job(const std::string& printer, const std::string& title, const std::string& path,
                 int copies);

// The job as the spooler shows it (GetJobW), with the printer's status.
SpoolerJobLook look_at_spooler_job(const std::string& printer, int job);

} // namespace kvalon
