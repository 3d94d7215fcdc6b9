#include "printing/cups/cups_connection.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace kvalon {

std::string print_service_name() {
    const std::string server = cupsServer();
    if (server.empty() || server.front() == '/') {
        return server;
    }
    return server + ":" + std::to_string(ippPort());
}

namespace {

int g_wait_seconds = kPrintServiceSeconds;

// How often a wait for an answer looks at the clock.
constexpr double kWaitStepSeconds = 0.5;

extern "C" int keep_waiting(http_t*, void* deadline) {
    return std::chrono::steady_clock::now() <
                   *static_cast<std::chrono::steady_clock::time_point*>(deadline)
               ? 1
               : 0;
}

} // namespace

void set_print_service_wait(int seconds) {
    g_wait_seconds = std::max(1, seconds);
}

CupsConnection::CupsConnection()
    : m_deadline(std::chrono::steady_clock::now() + std::chrono::seconds(g_wait_seconds)) {
    m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                          g_wait_seconds * 1000, nullptr);
    if (m_http == nullptr) {
        throw KvalonError(ErrorKind::PrintServiceSilent, print_service_name());
    }
    // One question may take several requests (the destination list takes
    // two); together they get the time limit, not each one.
    httpSetTimeout(m_http, kWaitStepSeconds, keep_waiting, &m_deadline);
}

void CupsConnection::restart_clock() {
    m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(g_wait_seconds);
}

CupsConnection::~CupsConnection() {
    httpClose(m_http);
}

bool CupsConnection::answered() const {
    return httpError(m_http) == 0 && cupsLastError() != IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
}

std::string service_reason(ipp_status_t status) {
    switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return messages::kNoSuchQueue;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_TIMEOUT:
        return messages::kServiceSilent;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return messages::kQueueRejects;
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        return messages::kQueueStopped;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return messages::kServiceDenied;
    default:
        break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(status));
    return messages::kServiceRefused + code;
}

} // namespace kvalon
