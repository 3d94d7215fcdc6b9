#include "startup/stdin_report.h"

#include "engine/atomic_file.h"
#include "engine/control_codes.h"
#include "engine/document_kind.h"
#include "engine/error.h"
#include "engine/line_limit.h"
#include "engine/messages.h"
#include "engine/printer_language.h"
#include "engine/whole_number.h"
#include "platform/descriptor_io.h"
#include "platform/path_text.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kvalon {

namespace {

std::int64_t input_limit() {
    const char* configured = std::getenv("KVALON_STDIN_LIMIT");
    if (configured == nullptr || *configured == '\0') {
        return kLargestReport;
    }
    const std::optional<int> bytes = parse_whole_number(configured);
    if (!bytes || *bytes < 1) {
        throw KvalonError(ErrorKind::CommandLine, std::string("KVALON_STDIN_LIMIT=") + configured);
    }
    return *bytes;
}

// Bytes enough to tell a document from a text report (engine/document_kind.h).
constexpr std::size_t kHeadBytes = 16;

// Stops as soon as the job is certain to fail: the input is over the limit, or
// a line in it can never be planned. A document is no report of lines: its
// lines are not watched.
void copy_to_end(int input, TemporaryFile& output, std::int64_t limit, bool watch_lines) {
    std::array<char, 65536> buffer;
    LineLimitWatch lines(static_cast<char>(codes::BoldMarker));
    std::int64_t copied = 0;
    std::string head; // the first bytes, until they tell what the input is
    bool known = !watch_lines;
    for (;;) {
        // A caller may hand over its end of the pipe set not to wait: the
        // read waits for the report still coming.
        const long long got = read_some(input, buffer.data(), buffer.size());
        if (got == 0) {
            return;
        }
        if (got < 0) {
            throw KvalonError(ErrorKind::File, messages::kStandardInput,
                              system_reason(static_cast<int>(-got)));
        }
        std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
        copied += got;
        if (copied > limit) {
            throw KvalonError(ErrorKind::InputTooLarge, messages::kStandardInput,
                              messages::kLargerThan + std::to_string(limit) + messages::kBytes);
        }
        output.write_all(bytes);
        if (!known) {
            head.append(bytes);
            if (head.size() < kHeadBytes) {
                continue;
            }
            known = true;
            watch_lines = document_kind_of(head) == DocumentKind::Text;
            bytes = head;
        }
        if (watch_lines && lines.feed(bytes)) {
            throw KvalonError(ErrorKind::LineTooLong, messages::kStandardInput);
        }
    }
}

bool usable_on_command_line(const std::string& folder) {
    std::error_code error;
    return !folder.empty() && path_of(folder).is_absolute() &&
           folder.find_first_of(" ,") == std::string::npos &&
           std::filesystem::is_directory(folder, error);
}

} // namespace

StdinReport::StdinReport(int input, const std::string& folder, bool watch_lines) {
    try {
        m_copy = std::make_unique<TemporaryFile>(folder, "kvalon-p-", messages::kStandardInput);
        m_path = m_copy->path();
        copy_to_end(input, *m_copy, input_limit(), watch_lines);
        m_copy->close();
    } catch (const KvalonError& error) {
        discard();
        // The copy is ours, not the user's: a copy that cannot be written is
        // a report that cannot be read in.
        if (error.kind() == ErrorKind::FileWrite) {
            throw KvalonError(ErrorKind::File, messages::kStandardInput, error.detail());
        }
        throw;
    }
}

void StdinReport::discard() {
    m_copy.reset();
    m_path.clear();
}

StdinReport::~StdinReport() {
    discard();
}

bool names_standard_input(const std::string& argument_text) {
    return !argument_text.empty() && argument_text.front() == '-' &&
           (argument_text.size() == 1 || argument_text[1] == ' ' || argument_text[1] == ',');
}

// The copy's path goes through the DOS word splitting: a folder it cannot
// pass gives way to /tmp.
std::string temporary_folder() {
    const std::string folder = system_temporary_folder();
    return usable_on_command_line(folder) ? folder : std::string("/tmp");
}

void take_standard_input(ProgramOptions& options, std::optional<StdinReport>& report) {
    if (!names_standard_input(options.argument_text)) {
        return;
    }
    // A report whose lines are measured in printed cells, known only at a
    // line's end (ESC/P), says nothing certain by its bytes. One the report
    // tells is watched as text: an Epson report's lines of bytes (a row of
    // dots is a few thousand) stay far below the longest line.
    report.emplace(kStandardInput, temporary_folder(), may_be_text(options.language));
    options.argument_text.replace(0, 1, report->path());
    options.answer_folder = ".";
}

} // namespace kvalon
