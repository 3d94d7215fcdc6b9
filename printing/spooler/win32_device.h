#pragma once

#include "printing/spooler/spooler_api.h"

#include <string>
#include <vector>
#include <windows.h>

namespace kvalon {

// A printer's DEVMODE, as its driver fills it, for one job.
class JobDevmode {
public:
    explicit JobDevmode(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}
    // Null when the driver gave none: the printer's own settings then.
    DEVMODEW* get();
    // The job's paper, orientation and copies.
    void set(const SpoolerDocumentRequest& request);

private:
    std::vector<BYTE> m_bytes;
};

// The default DEVMODE of `printer`; an empty one when the driver gives none.
JobDevmode printer_devmode(const std::string& printer);

// Where the context puts its pixels on the sheet.
DeviceArea device_area(HDC dc);

// Makes our font file known to this process, once, when the system does not
// offer its family already.
void load_program_font();

} // namespace kvalon
