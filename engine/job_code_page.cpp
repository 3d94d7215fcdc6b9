#include "engine/job_code_page.h"

#include "engine/code_page_guess.h"
#include "engine/control_codes.h"
#include "engine/source_file.h"

#include <string>

namespace kvalon {

namespace {

// The beginning of a report tells its code page as well as the whole does,
// and at no cost worth measuring.
constexpr std::size_t kSampleBytes = 128 * 1024;

std::string report_sample(const std::string& path) {
    std::string sample = read_head(source_file().inputs(), path, kSampleBytes);
    // Nothing after the DOS end-of-file mark is printed.
    if (const std::size_t end = sample.find(static_cast<char>(codes::DosEndOfFile));
        end != std::string::npos) {
        sample.resize(end);
    }
    return sample;
}

} // namespace

void choose_job_code_page(PrintJob& j, const PageModel& model) {
    const CodePageChoice asked = j.CodePageAsked.value_or(CodePageChoice{});
    if (!asked.automatic) {
        j.CodePage = asked.page;
        j.CodePageCertainty = 100;
        return;
    }
    const std::string sample = report_sample(j.SourcePath);
    const CodePageGuess guess = guess_code_page(model.letters_of(sample));
    j.CodePage = guess.page;
    j.CodePageCertainty = guess.certainty;
}

std::optional<CodePageGuess> code_page_told_otherwise(const PrintJob& j, const PageModel& model) {
    const std::string letters = model.letters_of(report_sample(j.SourcePath));
    const CodePageGuess guess = guess_code_page(letters);
    if (!guess.sure || guess.page == j.CodePage ||
        code_page_to_utf8(guess.page, letters) == code_page_to_utf8(j.CodePage, letters)) {
        return std::nullopt;
    }
    return guess;
}

} // namespace kvalon
