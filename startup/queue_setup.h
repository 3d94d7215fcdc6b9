#pragma once

#include "engine/code_page.h"
#include "engine/printer_language.h"
#include "engine/sheet_offset.h"

#include <optional>
#include <string>

namespace kvalon {

// The print-server queue on the current CUPS server (CUPS_SERVER honoured): a
// raw queue whose device is kvalon:/DESTINATION, so that every report sent to
// it reaches the backend as its bytes and is printed on DESTINATION of the same
// server. Both calls need the right to manage printers (root or lpadmin) and
// never ask for a password.

// What a queue does with every report whose job does not say otherwise (the
// job options kvalon-code-page, kvalon-escp, kvalon-form-length and
// kvalon-offset win over these).
struct QueueDefaults {
    std::optional<CodePageChoice> code_page; // none: MIK
    LanguageChoice language = LanguageChoice::Auto;
    std::string form_length; // as --form-length takes it; empty: 11 inches
    std::optional<SheetOffset> offset;
};

// Creates queue `name`, or brings an existing one of ours to this state:
// printing on `destination`, enabled, accepting jobs, shared, and aborting a
// job whose destination fails rather than stopping for everyone, and reading
// the reports with `defaults`; a default not given is one the queue
// forgets. Returns what to tell the user: how
// clients reach the queue. Throws
// KvalonError(QueueSetup, name, reason) and changes nothing when the name is
// unusable, the destination is missing or is itself such a queue, the name
// belongs to another kind of queue, or the service refuses.
std::string set_up_queue(const std::string& name, const std::string& destination,
                         const QueueDefaults& defaults = {});

// Removes queue `name`; a queue that is not there is no failure. Refuses a
// queue that is not of ours. Returns what to tell the user. Throws
// KvalonError(QueueRemoval, name, reason).
std::string remove_queue(const std::string& name);

} // namespace kvalon
