#pragma once

namespace kvalon {

// Exit statuses a DOS caller or a shell script can rely on.
enum ExitStatus : int {
    kExitOk = 0,          // job completed, or the windows were closed normally
    kExitInternal = 1,    // an unexpected failure
    kExitCommandLine = 2, // the command line cannot be used
    kExitNoPrinter = 3,   // no printer installed, or the print service does not answer
    kExitMissingFile = 4, // the named file does not exist
    kExitJobFailed = 5,   // unreadable file, line too long, paper too small, printer failure
    kExitQueueSetup = 6,  // a print-server queue cannot be set up or removed
};

} // namespace kvalon
