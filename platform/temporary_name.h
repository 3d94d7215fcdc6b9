#pragma once

#include <string>

namespace kvalon {

// Our temporary files carry the run that made them in their names: the boot,
// the process id and the time the process started. A run killed outright
// (SIGKILL, a power cut) cannot remove its files; a later run in the same
// folder can then tell that their maker is gone and remove them. A process id
// given again to another process does not fool it: that process started
// later.

// What comes after the caller's prefix and before the six characters mkostemp
// fills in: "kvp" BOOT "." PID "." START ".", e.g. "kvp7f3ea177.4242.318870.".
std::string temporary_name_stamp();

// Removes the files in `folder` that our runs left behind: regular files of
// ours (owned by us), named with a stamp after a prefix of ours (".NAME." for
// a file beside its target, "kvalon-p-" in the temporary folder), whose run is
// gone; and so named private folders (0700, ours) with what is in them. Anything else is left
// alone; failures are ignored.
void remove_abandoned_temporaries(const std::string& folder);

// Whether `name` carries the stamp of a run that is gone, whatever its
// prefix: a file that run kept on purpose (platform/run_stamp.h).
bool made_by_a_gone_run(const std::string& name);

} // namespace kvalon
