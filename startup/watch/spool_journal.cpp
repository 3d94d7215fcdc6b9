#include "startup/watch/spool_journal.h"

#include "engine/error.h"
#include "platform/spool_files.h"

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <vector>

namespace kvalon {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::vector<std::string> words_of(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

void read_line(const std::vector<std::string>& words,
               std::map<std::string, SpoolJournal::Entry>& entries) {
    if (words.size() < 2) {
        return;
    }
    const std::string claimed = unescape_name(words[1]);
    if (words[0] == "claim" && words.size() == 3) {
        entries[claimed] = {SpoolJournal::Step::Claimed, unescape_name(words[2]), {}};
        return;
    }
    auto known = entries.find(claimed);
    if (known == entries.end()) {
        known = entries.emplace(claimed, SpoolJournal::Entry{{}, claimed, {}}).first;
    }
    SpoolJournal::Entry& entry = known->second;
    if (words[0] == "begin" && words.size() == 4) {
        entry.step = SpoolJournal::Step::Begun;
        entry.target = words[2] == "-" ? std::string() : unescape_name(words[2]);
        entry.begun_at = std::atoll(words[3].c_str());
    } else if (words[0] == "sent" && words.size() == 2) {
        entry.step = SpoolJournal::Step::Sent;
    } else if (words[0] == "done" && words.size() == 2) {
        entry.step = SpoolJournal::Step::Done;
    }
}

} // namespace

std::string escape_name(const std::string& name) {
    static const char* const digits = "0123456789ABCDEF";
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7f || c == '%') {
            text += '%';
            text += digits[byte >> 4];
            text += digits[byte & 0x0f];
        } else {
            text += c;
        }
    }
    return text.empty() ? std::string("%") : text;
}

std::string unescape_name(const std::string& text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() ? hex_digit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hex_digit(text[i + 2]) : -1;
        if (text[i] == '%' && high >= 0 && low >= 0) {
            name += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (text[i] != '%') {
            name += text[i];
        }
    }
    return name;
}

std::map<std::string, SpoolJournal::Entry> read_journal_text(const std::string& text) {
    std::map<std::string, SpoolJournal::Entry> entries;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        // Only a line that ended was written whole.
        if (!lines.eof()) {
            read_line(words_of(line), entries);
        }
    }
    return entries;
}

void SpoolJournal::append(const std::string& line) {
    const FolderLock writing(lock_path(), false, true);
    if (const int error = append_synced(m_path, line + "\n"); error != 0) {
        throw KvalonError(ErrorKind::FileWrite, m_path, system_reason(error));
    }
}

void SpoolJournal::claim(const std::string& claimed, const std::string& name) {
    append("claim " + escape_name(claimed) + " " + escape_name(name));
}

void SpoolJournal::begin(const std::string& claimed, const std::string& target) {
    append("begin " + escape_name(claimed) + " " + (target.empty() ? "-" : escape_name(target)) +
           " " + std::to_string(static_cast<std::int64_t>(std::time(nullptr))));
}

void SpoolJournal::sent(const std::string& claimed) {
    append("sent " + escape_name(claimed));
}

void SpoolJournal::done(const std::string& claimed) {
    append("done " + escape_name(claimed));
}

bool SpoolJournal::compact(const std::function<std::set<std::string>()>& claimed) {
    const FolderLock alone(lock_path(), true, false);
    if (!alone.held()) {
        return false;
    }
    const std::set<std::string> still_claimed = claimed();
    std::string kept;
    for (const auto& [name, entry] : read()) {
        if (!still_claimed.contains(name) || entry.step == Step::Done) {
            continue;
        }
        kept += "claim " + escape_name(name) + " " + escape_name(entry.name) + "\n";
        if (entry.step != Step::Claimed) {
            kept += "begin " + escape_name(name) + " " +
                    (entry.target.empty() ? "-" : escape_name(entry.target)) + " " +
                    std::to_string(entry.begun_at) + "\n";
        }
        if (entry.step == Step::Sent) {
            kept += "sent " + escape_name(name) + "\n";
        }
    }
    const std::string fresh = m_path + ".new";
    remove_file(fresh);
    if (append_synced(fresh, kept) != 0 || replace_file(fresh, m_path) != 0) {
        remove_file(fresh);
        return false;
    }
    const std::size_t slash = m_path.rfind('/');
    sync_folder(slash == std::string::npos ? "." : m_path.substr(0, slash));
    return true;
}

std::map<std::string, SpoolJournal::Entry> SpoolJournal::read() const {
    std::string text;
    return read_small_file(m_path, text) ? read_journal_text(text) : decltype(read()){};
}

} // namespace kvalon
