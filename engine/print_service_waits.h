#pragma once

// How long the program waits on the print service, in seconds.
namespace kvalon {

// To connect, and for each answer. A service that is not running or does not
// answer (frozen, or a CUPS_SERVER that swallows requests) is given up after
// this time instead of holding a batch caller.
inline constexpr int kPrintServiceSeconds = 10;

// How long a job the print service took is followed to its end, unless
// KVALON_JOB_WAIT says otherwise.
inline constexpr int kJobWaitSeconds = 60;

} // namespace kvalon
