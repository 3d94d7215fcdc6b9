#pragma once

namespace kvalon {

class KvalonError;

// The backend's exit status for a failed job, which tells CUPS what to do
// with the job. A report that cannot be printed as it is (unreadable, empty,
// a line too long, too many pages, an unknown option, a paper too small for
// one line or too large for a page) is cancelled: trying it again would fail
// again, and the queue goes on with the next job; under a stop-printer policy
// a failure would stop the queue for everybody. Every
// other failure (the destination, the print service, a full disk) is a
// backend failure, and the queue's error policy decides: abort the job (the
// policy --setup-queue sets), retry or hold it, or stop the queue.
int backend_status_for(const KvalonError& error);

} // namespace kvalon
