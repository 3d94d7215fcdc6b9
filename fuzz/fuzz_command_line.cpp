// Any argument text, split the DOS way, and any argument words read as
// options: nothing may crash, and the split must honour its contract.
#include "engine/error.h"
#include "startup/command_line.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool is_separator(char c) {
    return c == ' ' || c == ',';
}

void check_split(const std::string& text) {
    const std::vector<std::string> words = kvalon::split_command_line(text);
    // A path, an action and a size always exist.
    if (words.size() < 3) {
        std::abort();
    }
    std::size_t kept = 0;
    for (const std::string& word : words) {
        for (const char c : word) {
            if (is_separator(c)) {
                std::abort();
            }
        }
        kept += word.size();
    }
    std::size_t letters = 0;
    for (const char c : text) {
        letters += is_separator(c) ? 0u : 1u;
    }
    // No character but the separators is lost; the defaults add at most "0" and "8".
    if (kept < letters || kept > letters + 2) {
        std::abort();
    }
    for (const std::string& word : words) {
        kvalon::action_number(word);
    }
}

// Words are separated by NUL bytes, as argv would hold them.
std::vector<std::string> argument_words(const std::string& text) {
    std::vector<std::string> words(1);
    for (const char c : text) {
        if (c == '\0') {
            words.emplace_back();
        } else {
            words.back().push_back(c);
        }
    }
    return words;
}

void check_options(const std::string& text) {
    try {
        const kvalon::ProgramOptions options = kvalon::parse_program_options(argument_words(text));
        if (options.copies && *options.copies < 1) {
            std::abort();
        }
        if (options.argument_text.size() > text.size()) {
            std::abort();
        }
    } catch (const kvalon::KvalonError& error) {
        if (error.kind() != kvalon::ErrorKind::CommandLine) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    check_split(text);
    check_options(text);
    return 0;
}
