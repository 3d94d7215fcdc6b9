#include "startup/spool_run.h"

#include "engine/error.h"
#include "engine/messages.h"

namespace kvalon {

// Watched folders and printer ports stand on inotify, named pipes and local
// sockets: the Windows program prints the reports it is given.
int run_spool_source(const ProgramOptions& options, const std::function<void()>&) {
    throw KvalonError(ErrorKind::CommandLine,
                      options.watch ? "--watch " + options.watch->folder
                                    : "--listen " + options.listen->source,
                      messages::kNoSpoolSourcesOnWindows);
}

} // namespace kvalon
