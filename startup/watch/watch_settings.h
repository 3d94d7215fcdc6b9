#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// How each job of a watched folder or a printer port is printed: by this
// program run once a job with `job_words` (the options given in front of
// --watch or --listen, --pdf left out) and, with `pdf_folder`, into a PDF of
// its own there.
struct JobSettings {
    std::vector<std::string> job_words;
    std::optional<std::string> pdf_folder;
    // Where a job goes when not into a PDF, as the log line names it.
    std::string printer_shown;
    // The queue a job goes to (empty: the default one), to ask it of a job
    // a stopped watcher may have sent.
    std::string queue;
};

// The folder a watched folder's claimed files move into while they print:
// a job kept in the history is known by the watched folder instead.
inline const std::string kClaimFolder = ".kvalon-p-claimed";

// kvalon-p --watch FOLDER [--pattern GLOB]... [--settle SECONDS] [--remove]
struct WatchSettings {
    std::string folder;
    std::vector<std::string> patterns; // none: every regular file
    double settle_seconds = 2.0;
    bool remove_printed = false;
};

// kvalon-p --listen SOURCE [--idle SECONDS]
struct ListenSettings {
    std::string source;
    double idle_seconds = 5.0;
};

// Where a printer port's bytes come from, as SOURCE names it.
struct PortAddress {
    enum class Kind { Pipe, LocalSocket, Tcp };
    Kind kind = Kind::Pipe;
    std::string path;    // the pipe or the local socket
    std::string address; // tcp: the numeric IPv4 address
    int port = 0;
};

// "unix:PATH", "tcp:ADDRESS:PORT" or the path of a named pipe; nothing when
// SOURCE is none of them.
std::optional<PortAddress> parse_port_address(const std::string& source);

// A number of seconds as an option gives it: a decimal number from 0.01 up to
// a day; nothing otherwise.
std::optional<double> parse_seconds(const std::string& text);

} // namespace kvalon
