#include "startup/queue_setup.h"

#include "engine/error.h"
#include "engine/messages.h"

namespace kvalon {

// The print-server queue is a CUPS queue: Windows has none to set up.
std::string set_up_queue(const std::string& name, const std::string&, const QueueDefaults&) {
    throw KvalonError(ErrorKind::QueueSetup, name, messages::kNoQueuesOnWindows);
}

std::string remove_queue(const std::string& name) {
    throw KvalonError(ErrorKind::QueueRemoval, name, messages::kNoQueuesOnWindows);
}

} // namespace kvalon
