#pragma once

#include "platform/owned_fd.h"

#include <cstddef>
#include <string>

namespace kvalon {

// The ends a printer port's bytes come from: a named pipe, or a socket that
// one writer at a time connects to. Each call gives an invalid descriptor and
// sets `error` (an errno) when it fails.

// A named pipe, opened so that a writer closing its end is no end of the
// stream: the pipe stays readable for the next writer. ENOTSUP when `path`
// names something else.
OwnedFd open_port_pipe(const std::string& path, int& error);

// A listening socket at `path` (a stale socket file of an earlier run is
// replaced; any other file there is EEXIST).
OwnedFd listen_on_local_socket(const std::string& path, int& error);

// A listening TCP socket on the numeric IPv4 address `address` and `port`.
OwnedFd listen_on_tcp(const std::string& address, int port, int& error);

// The next connection waiting on `listener`.
OwnedFd accept_connection(int listener, int& error);

// One read of what is there: the bytes got, 0 at the end of the stream, -1
// when nothing is there yet, -2 on an error (`error` set).
long read_available(int fd, char* buffer, std::size_t size, int& error);

} // namespace kvalon
