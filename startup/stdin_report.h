#pragma once

#include "startup/command_line.h"

#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class TemporaryFile;

// A report that arrives on standard input ("kvalon-p -", the way a DOS
// emulator hands over a printer port): read to end of file into a private
// temporary file (mode 0600) so that planning and printing can read it twice.
// The file is removed when the object goes, and also when an ending signal
// stops the program meanwhile (platform/signal_cleanup.h). Input larger than
// 2 GiB (KVALON_STDIN_LIMIT bytes, for tests) is refused, and so is input
// with a line that can never be planned, as soon as it arrives.
class StdinReport {
public:
    // Reads `input` (a file descriptor, normally 0) to its end into a new file
    // in `folder`; with `watch_lines`, stops at a line that can never be
    // planned. Throws KvalonError naming "стандартен вход": File when the
    // input cannot be read or copied, InputTooLarge, LineTooLong; nothing is
    // left behind in any case.
    StdinReport(int input, const std::string& folder, bool watch_lines = true);
    ~StdinReport();
    StdinReport(const StdinReport&) = delete;
    StdinReport& operator=(const StdinReport&) = delete;

    const std::string& path() const { return m_path; }

private:
    void discard();

    std::unique_ptr<TemporaryFile> m_copy;
    std::string m_path;
};

// True when the first word of the argument text is "-" (alone, or followed by
// the separator of the action word: "- 1", "-,1").
bool names_standard_input(const std::string& argument_text);

// Where the temporary copy goes: $TMPDIR when it is an absolute folder whose
// path the command line can carry (no blank, no comma), /tmp otherwise.
std::string temporary_folder();

// When the command line names "-", reads standard input into `report` and
// points `options` at the copy: the first word becomes its path, and the
// plan-only action writes TMPPRNT1.TMP into the current folder rather than
// beside the temporary file.
void take_standard_input(ProgramOptions& options, std::optional<StdinReport>& report);

} // namespace kvalon
