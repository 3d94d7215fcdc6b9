#include "printing/pdf/ghostscript.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/helper_process.h"

#include <cerrno>
#include <cstdio>
#include <sstream>

namespace kvalon {

namespace {

// A long report of many pages takes gs seconds; minutes mean a document that
// loops.
constexpr int kMostSeconds = 300;
constexpr std::size_t kMostSaid = 1 << 16;
// A line "%%BoundingBox: 0 0 0 0" and its high-resolution twin for each page.
constexpr std::size_t kMostBoxBytesPerPage = 160;
const std::string kBoxLine = "%%BoundingBox:";

std::string points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// The switches before the documents: safe mode, and its settings locked
// before the first document is read.
std::vector<std::string> safe_start(const std::string& device) {
    return {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=" + device};
}

void add_documents(std::vector<std::string>& words, const std::string& document, int times) {
    words.insert(words.end(), {"-c", ".locksafe", "-f"});
    for (int i = 0; i < times; ++i) {
        words.push_back(document);
    }
}

// gs says what went wrong on a line beginning "Error:"; else its last line.
std::string reason_in(const std::string& output) {
    const std::size_t error = output.find("Error:");
    std::size_t start = error;
    if (start == std::string::npos) {
        std::size_t end = output.find_last_not_of("\r\n");
        if (end == std::string::npos) {
            return {};
        }
        start = output.rfind('\n', end);
        start = start == std::string::npos ? 0 : start + 1;
    }
    const std::size_t end = output.find('\n', start);
    return output.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Runs gs to its end; what it said. Throws when it cannot start, runs out of
// time or fails.
std::string run_gs(HelperCall call, const PrivateFolder& folder, std::size_t most_said,
                   const std::string& target) {
    const std::string temporary = folder.path();
    call.environment =
        environment_with({"TMPDIR", "TEMP", "TMP", "GS_OPTIONS"},
                         {"TMPDIR=" + temporary, "TEMP=" + temporary, "TMP=" + temporary});
    HelperProcess gs(call);
    if (gs.start_error() != 0) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          gs.start_error() == ENOENT ? messages::kGhostscriptMissing
                                                     : system_reason(gs.start_error()));
    }
    std::string said;
    if (!gs.read_output(kMostSeconds, most_said, said)) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          messages::kGhostscriptTooLong + std::to_string(kMostSeconds) +
                              messages::kSeconds);
    }
    if (!ended_well(gs.wait())) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          messages::kPostScriptNotConverted + reason_in(said));
    }
    return said;
}

} // namespace

void ghostscript_to_pdf(int input, int times, int output, const PaperPoints& paper,
                        const PrivateFolder& folder, const std::string& target) {
    HelperCall call;
    call.words = safe_start("pdfwrite");
    call.words.insert(call.words.end(), {"-dDEVICEWIDTHPOINTS=" + points(paper.width),
                                         "-dDEVICEHEIGHTPOINTS=" + points(paper.height),
                                         "-sOutputFile=" + passed_file_name(0)});
    add_documents(call.words, passed_file_name(1), times);
    call.passed = {output, input};
    run_gs(call, folder, kMostSaid, target);
}

PageMarks ghostscript_page_marks(int pdf, int most_pages, const PrivateFolder& folder,
                                 const std::string& target) {
    HelperCall call;
    call.words = safe_start("bbox");
    // The device's own 4,000 dpi took seconds a page of text; a mark of any
    // size still covers a pixel at 72.
    call.words.insert(call.words.end(), {"-r72", "-dLastPage=" + std::to_string(most_pages + 1)});
    add_documents(call.words, passed_file_name(0), 1);
    call.passed = {pdf};
    const std::string said =
        run_gs(call, folder,
               kMostSaid + kMostBoxBytesPerPage * static_cast<std::size_t>(most_pages + 1), target);
    PageMarks marks;
    std::istringstream lines(said);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(kBoxLine, 0) == 0) {
            ++marks.pages;
            marks.marked = marks.marked || line.substr(kBoxLine.size()) != " 0 0 0 0";
        }
    }
    return marks;
}

} // namespace kvalon
