#include "printing/cups/cups_file_job.h"

#include "engine/error.h"
#include "engine/owned_fd.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/cups_job_check.h"
#include "printing/cups/cups_request_output.h"
#include "printing/cups/job_options.h"

#include <cups/cups.h>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kvalon {

namespace {

OwnedFd open_document(const std::string& pdf_path) {
    OwnedFd fd(::open(pdf_path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        throw KvalonError(ErrorKind::File, pdf_path, system_reason(errno));
    }
    return fd;
}

// Every byte of the document into the request started for it.
void send_bytes(int fd, const std::string& pdf_path, CupsRequestOutput& out) {
    std::array<char, 1 << 16> piece{};
    for (;;) {
        const ssize_t count = ::read(fd, piece.data(), piece.size());
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw KvalonError(ErrorKind::File, pdf_path, system_reason(errno));
        }
        out.write(piece.data(), static_cast<std::size_t>(count));
    }
    out.flush();
}

// Nothing of a document sent in part prints. The request it went in may be
// broken, so the cancelling goes on a connection of its own.
void cancel_quietly(const std::string& queue, int job_id) noexcept {
    try {
        const CupsConnection canceller;
        cupsCancelJob2(canceller.get(), queue.c_str(), job_id, 0);
    } catch (...) {
        // A service that does not answer keeps the unfinished job from printing.
    }
}

} // namespace

int send_finished_document(const CupsJobSettings& settings, const DocumentInfo& info,
                           const std::string& pdf_path) {
    const std::string& queue = settings.queue;
    if (const std::optional<std::string> refusal = queue_refusal(queue)) {
        throw KvalonError(ErrorKind::Printer, queue, *refusal);
    }
    const OwnedFd document = open_document(pdf_path);
    CupsConnection connection;
    http_t* http = connection.get();
    JobOptions options;
    options.add_document(info.copies, settings.media);
    const int job_id =
        cupsCreateJob(http, queue.c_str(), info.title.c_str(), options.count(), options.options());
    if (job_id == 0) {
        throw KvalonError(ErrorKind::Printer, queue, service_reason(cupsLastError()));
    }
    try {
        if (cupsStartDocument(http, queue.c_str(), job_id, info.title.c_str(), CUPS_FORMAT_PDF,
                              1) != HTTP_STATUS_CONTINUE) {
            throw KvalonError(ErrorKind::Printer, queue, service_reason(cupsLastError()));
        }
        CupsRequestOutput out(connection, queue);
        send_bytes(document.get(), pdf_path, out);
        connection.restart_clock();
        const ipp_status_t status = cupsFinishDocument(http, queue.c_str());
        if (status > IPP_STATUS_OK_CONFLICTING) {
            throw KvalonError(ErrorKind::Printer, queue, service_reason(status));
        }
    } catch (const KvalonError&) {
        cancel_quietly(queue, job_id);
        throw;
    }
    return job_id;
}

} // namespace kvalon
