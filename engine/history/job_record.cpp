#include "engine/history/job_record.h"

#include <charconv>
#include <cstdio>

namespace kvalon {

namespace {

constexpr std::string_view kFirstLine = "kvalon-p job 1";
// A record of ours is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kLargestRecord = 64 * 1024;

std::string escaped(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            text += code;
        } else {
            text += c;
        }
    }
    return text;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string value;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        // Our records write every control byte escaped.
        if (byte < 0x20 || byte == 0x7f) {
            return std::nullopt;
        }
        if (text[at] != '%') {
            value += text[at];
            continue;
        }
        if (at + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hex_digit(text[at + 1]);
        const int low = hex_digit(text[at + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        value += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return value;
}

template <typename Number> std::optional<Number> number_in(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 0) {
        return std::nullopt;
    }
    return number;
}

const char* outcome_word(JobRecord::Outcome outcome) {
    switch (outcome) {
    case JobRecord::Outcome::Printed:
        return "printed";
    case JobRecord::Outcome::Failed:
        return "failed";
    case JobRecord::Outcome::Printing:
        break;
    }
    return "printing";
}

bool take_field(JobRecord& record, std::string_view key, const std::string& value) {
    if (key == "time") {
        const auto time = number_in<std::int64_t>(value);
        record.time = time.value_or(0);
        return time.has_value();
    }
    if (key == "pages") {
        record.pages = number_in<int>(value);
        return record.pages.has_value();
    }
    if (key == "outcome") {
        record.outcome = value == "printed"  ? JobRecord::Outcome::Printed
                         : value == "failed" ? JobRecord::Outcome::Failed
                                             : JobRecord::Outcome::Printing;
    } else if (key == "report") {
        record.report = value;
    } else if (key == "printer") {
        record.printer = value;
    } else if (key == "pdf") {
        record.pdf = value;
    } else if (key == "option") {
        record.options.push_back(value);
    } else if (key == "word") {
        record.words.push_back(value);
    } else if (key == "reason") {
        record.reason = value;
    }
    // A field a later version added is passed over.
    return true;
}

} // namespace

std::string record_text(const JobRecord& record) {
    std::string text = std::string(kFirstLine) + "\n";
    const auto line = [&text](const char* key, std::string_view value) {
        text += key;
        text += ' ';
        text += escaped(value);
        text += '\n';
    };
    line("time", std::to_string(record.time));
    line("report", record.report);
    if (record.pages) {
        line("pages", std::to_string(*record.pages));
    }
    line("printer", record.printer);
    line("pdf", record.pdf);
    for (const std::string& option : record.options) {
        line("option", option);
    }
    for (const std::string& word : record.words) {
        line("word", word);
    }
    line("outcome", outcome_word(record.outcome));
    line("reason", record.reason);
    return text;
}

std::optional<JobRecord> read_record_text(std::string_view text) {
    if (text.size() > kLargestRecord ||
        text.substr(0, kFirstLine.size() + 1) != std::string(kFirstLine) + "\n") {
        return std::nullopt;
    }
    JobRecord record;
    bool has_time = false;
    std::size_t at = kFirstLine.size() + 1;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            return std::nullopt; // cut short while it was written
        }
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<std::string> value = unescaped(line.substr(blank + 1));
        if (!value || !take_field(record, line.substr(0, blank), *value)) {
            return std::nullopt;
        }
        has_time = has_time || line.substr(0, blank) == "time";
    }
    if (!has_time) {
        return std::nullopt;
    }
    return record;
}

} // namespace kvalon
