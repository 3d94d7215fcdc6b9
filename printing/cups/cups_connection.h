#pragma once

#include "engine/print_service_waits.h"
#include "printing/system_printers.h"

#include <cups/cups.h>

#include <chrono>
#include <string>

namespace kvalon {

// The print service the program talks to (CUPS_SERVER honoured), as a user
// would name it: "host:port" or the local socket.
std::string print_service_name();

// One connection to the print service for one question (a few requests), with
// the time limit kPrintServiceSeconds counted from its opening. Closed when its owner goes.
class CupsConnection {
public:
    // Throws KvalonError(PrintServiceSilent) when no connection can be made.
    CupsConnection();
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    http_t* get() const { return m_http; }
    // The time limit starts again: a long document sent piece by piece gets
    // it for each piece, not for the whole.
    void restart_clock();
    // False when the last request got no answer (refused, broken or timed
    // out), as opposed to an answer that says no.
    bool answered() const;

private:
    std::chrono::steady_clock::time_point m_deadline;
    http_t* m_http = nullptr;
};

// The print service's answer to the last request, in the user's words.
std::string service_reason(ipp_status_t status);

// The address a request names a queue of the print service by.
std::string printer_uri(const std::string& queue);

} // namespace kvalon
