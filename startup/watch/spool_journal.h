#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace kvalon {

// The watched folder's record of what became of each file it took, kept in the
// folder itself so that a watcher started again after a crash (or another
// watcher beside it) knows. Each step is one line appended and put on the disk
// before the step it announces is taken any further (under a shared lock of
// its own, which compacting takes alone); names are escaped so
// that any file name (a newline in it, bytes that are no UTF-8) fits one line.
//   claim CLAIMED NAME     the file NAME was taken under the name CLAIMED
//   begin CLAIMED TARGET T its job starts at T (seconds since 1970); TARGET:
//                          the PDF it makes, or "-"
//   sent CLAIMED           its job left: the PDF is whole, the queue took it
//   done CLAIMED           it was moved out of the claim folder
class SpoolJournal {
public:
    enum class Step { Claimed, Begun, Sent, Done };
    struct Entry {
        Step step = Step::Claimed;
        std::string name;          // the file's own name in the watched folder
        std::string target;        // the PDF, or empty for a queue
        std::int64_t begun_at = 0; // seconds since 1970, when its job began
    };

    explicit SpoolJournal(std::string path) : m_path(std::move(path)) {}

    // Throw KvalonError(FileWrite) naming the journal when it cannot be
    // written: a job is not taken any further without its record.
    void claim(const std::string& claimed, const std::string& name);
    void begin(const std::string& claimed, const std::string& target);
    void sent(const std::string& claimed);
    void done(const std::string& claimed);

    // The last state of every claimed name in the journal as it is now (the
    // latest claim of a name starts it afresh).
    std::map<std::string, Entry> read() const;

    // Keeps only what is known of the names `claimed` gives (the files in
    // the claim folder, looked at once no line can be appended any more), so
    // the journal does not grow with every job. Done only when no other
    // watcher is writing it at that moment; every line appended meanwhile
    // waits, so none is lost. False when it was not done.
    bool compact(const std::function<std::set<std::string>()>& claimed);

private:
    void append(const std::string& line);
    std::string lock_path() const { return m_path + ".lock"; }

    std::string m_path;
};

// A name as the journal writes it: bytes other than printable ASCII, blanks
// and '%' as %XX. `unescape_name` reverses it.
std::string escape_name(const std::string& name);
std::string unescape_name(const std::string& text);

// The entries of journal text; lines it cannot read (a line cut by a crash)
// are left out.
std::map<std::string, SpoolJournal::Entry> read_journal_text(const std::string& text);

} // namespace kvalon
