#include "startup/command_line.h"

#include "engine/error.h"
#include "engine/escp/escp_form_length.h"
#include "engine/font_sizes.h"
#include "engine/line_limit.h"
#include "engine/messages.h"
#include "engine/whole_number.h"

#include <charconv>
#include <cstdlib>

namespace kvalon {

namespace {

std::string replace_pairs_of_blanks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result.push_back(text[i]);
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
            ++i;
        }
    }
    return result;
}

std::vector<std::string> split_at_blanks(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t blank = text.find(' '); blank != std::string::npos;
         blank = text.find(' ', start)) {
        words.push_back(text.substr(start, blank - start));
        start = blank + 1;
    }
    words.push_back(text.substr(start));
    return words;
}

int whole_number(const std::string& option, const std::string& value) {
    const std::optional<int> number = parse_whole_number(value);
    if (!number) {
        throw KvalonError(ErrorKind::CommandLine, option + " " + value);
    }
    return *number;
}

// "--name value" or "--name=value"; advances `index` past what it used.
std::string option_value(const std::vector<std::string>& words, std::size_t& index,
                         const std::string& name) {
    const std::string& word = words[index];
    if (word.size() > name.size() && word[name.size()] == '=') {
        return word.substr(name.size() + 1);
    }
    if (index + 1 >= words.size()) {
        throw KvalonError(ErrorKind::CommandLine, word);
    }
    return words[++index];
}

bool is_option(const std::string& word, const std::string& name) {
    return word == name || (word.rfind(name + "=", 0) == 0);
}

double seconds_value(const std::vector<std::string>& words, std::size_t& index,
                     const std::string& name) {
    const std::string value = option_value(words, index, name);
    const std::optional<double> seconds = parse_seconds(value);
    if (!seconds) {
        throw KvalonError(ErrorKind::CommandLine, name + " " + value);
    }
    return *seconds;
}

// The options of a watched folder or a port, only after --watch or --listen.
bool take_spool_option(ProgramOptions& options, const std::vector<std::string>& words,
                       std::size_t& index) {
    const std::string& word = words[index];
    if (is_option(word, "--watch") && !options.watch && !options.listen) {
        options.watch = WatchSettings{option_value(words, index, "--watch"), {}, 2.0, false};
    } else if (is_option(word, "--listen") && !options.watch && !options.listen) {
        const std::string source = option_value(words, index, "--listen");
        if (!parse_port_address(source)) {
            throw KvalonError(ErrorKind::CommandLine, "--listen " + source);
        }
        options.listen = ListenSettings{source, 5.0};
    } else if (is_option(word, "--pattern") && options.watch) {
        options.watch->patterns.push_back(option_value(words, index, "--pattern"));
    } else if (is_option(word, "--settle") && options.watch) {
        options.watch->settle_seconds = seconds_value(words, index, "--settle");
    } else if (word == "--remove" && options.watch) {
        options.watch->remove_printed = true;
    } else if (is_option(word, "--idle") && options.listen) {
        options.listen->idle_seconds = seconds_value(words, index, "--idle");
    } else {
        return false;
    }
    return true;
}

void take_job_option(ProgramOptions& options, const std::vector<std::string>& words,
                     std::size_t& index) {
    const std::string& word = words[index];
    if (word == "--help") {
        options.help = true;
    } else if (word == "--version") {
        options.version = true;
    } else if (word == "--plan") {
        options.plan = true;
    } else if (word == "--escp") {
        options.language = LanguageChoice::Epson;
    } else if (word == "--pcl") {
        options.language = LanguageChoice::Pcl;
    } else if (word == "--render") {
        options.render = true;
    } else if (word == "--text") {
        options.language = LanguageChoice::Text;
    } else if (is_option(word, "--code-page")) {
        const std::string name = option_value(words, index, "--code-page");
        options.code_page = parse_code_page_choice(name, "--code-page " + name);
    } else if (is_option(word, "--form-length")) {
        const std::string length = option_value(words, index, "--form-length");
        options.form_length = parse_form_length(length);
        if (!options.form_length) {
            throw KvalonError(ErrorKind::CommandLine, "--form-length " + length);
        }
        options.form_length_text = length;
    } else if (is_option(word, "--offset")) {
        const std::string offset = option_value(words, index, "--offset");
        options.offset = parse_sheet_offset(offset);
        if (!options.offset) {
            throw KvalonError(ErrorKind::CommandLine, "--offset " + offset);
        }
    } else if (word == "--fit-pages") {
        options.fit_pages = true;
    } else if (word == "--open" && index + 1 == words.size()) {
        options.open = std::string();
    } else if (is_option(word, "--printer")) {
        options.printer = option_value(words, index, "--printer");
    } else if (is_option(word, "--pdf")) {
        options.pdf = option_value(words, index, "--pdf");
    } else if (is_option(word, "--open")) {
        options.open = option_value(words, index, "--open");
    } else if (is_option(word, "--paper")) {
        options.paper = whole_number("--paper", option_value(words, index, "--paper"));
    } else if (is_option(word, "--copies")) {
        options.copies = whole_number("--copies", option_value(words, index, "--copies"));
        if (*options.copies < 1 || *options.copies > kMostCopies) {
            throw KvalonError(ErrorKind::CommandLine,
                              "--copies " + std::to_string(*options.copies));
        }
    } else if (is_option(word, "--setup-queue")) {
        QueueCommand command{
            QueueCommand::Action::Setup, option_value(words, index, "--setup-queue"), {}};
        if (index + 1 >= words.size()) {
            throw KvalonError(ErrorKind::CommandLine, word);
        }
        command.destination = words[++index];
        options.queue_command = command;
    } else if (is_option(word, "--remove-queue")) {
        options.queue_command = QueueCommand{
            QueueCommand::Action::Remove, option_value(words, index, "--remove-queue"), {}};
    } else {
        throw KvalonError(ErrorKind::CommandLine, word);
    }
}

void take_option(ProgramOptions& options, const std::vector<std::string>& words,
                 std::size_t& index) {
    if (take_spool_option(options, words, index)) {
        return;
    }
    if (words[index] == "--history") {
        options.history = true;
        return;
    }
    if (is_option(words[index], "--reprint")) {
        const std::string number = option_value(words, index, "--reprint");
        options.reprint = whole_number("--reprint", number);
        if (*options.reprint < 1) {
            throw KvalonError(ErrorKind::CommandLine, "--reprint " + number);
        }
        return;
    }
    const std::size_t first = index;
    take_job_option(options, words, index);
    // Each job of a watch is printed with the options as they were given.
    if (!is_option(words[first], "--pdf")) {
        options.job_words.insert(options.job_words.end(),
                                 words.begin() + static_cast<std::ptrdiff_t>(first),
                                 words.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    }
}

} // namespace

std::vector<std::string> split_command_line(std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::vector<std::string> words = split_at_blanks(replace_pairs_of_blanks(text));
    const std::string default_size = FontSizeList[kDefaultFontSizeIndex];
    if (words.size() == 1) {
        words.insert(words.end(), {"0", default_size, ""});
    } else if (words.size() == 2) {
        words.insert(words.end(), {default_size, ""});
    }
    return words;
}

ProgramOptions parse_program_options(const std::vector<std::string>& words) {
    ProgramOptions options;
    std::size_t index = 0;
    for (; index < words.size() && words[index].rfind("--", 0) == 0; ++index) {
        if (words[index] == "--") {
            ++index;
            break;
        }
        take_option(options, words, index);
    }
    options.has_words = index < words.size();
    for (std::size_t rest = index; rest < words.size(); ++rest) {
        if (rest > index) {
            options.argument_text += ' ';
        }
        options.argument_text += words[rest];
        options.shell_words.push_back(words[rest]);
    }
    if (options.open && !options.argument_text.empty()) {
        throw KvalonError(ErrorKind::CommandLine, "--open");
    }
    return options;
}

CodePageChoice parse_code_page_choice(const std::string& name, const std::string& shown_as) {
    const std::optional<CodePageChoice> choice = code_page_choice_named(name);
    if (!choice) {
        throw KvalonError(ErrorKind::CommandLine, shown_as,
                          messages::kKnownCodePages + code_page_name_list());
    }
    return *choice;
}

std::optional<double> action_number(const std::string& word) {
    if (word.empty()) {
        return 0.0;
    }
    double number = 0;
    const char* first = word.data();
    if (*first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, word.data() + word.size(), number);
    if (error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return number;
}

std::string usage_text() {
    return messages::kUsage;
}

} // namespace kvalon
