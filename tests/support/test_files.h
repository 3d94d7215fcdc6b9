#pragma once

#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void write_bytes(const std::string& path, const std::string& bytes);
std::string read_bytes(const std::string& path);
bool file_exists(const std::string& path);

// UTF-8 text in the DOS code page MIK (Cyrillic, box and block characters).
std::string to_mik(const std::string& utf8);

struct RunResult {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs a program with the given arguments; `env` entries are added to (or,
// with an empty value, removed from) the current environment.
RunResult run_program(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env = {},
                      const std::string& input = {}, const std::string& working_dir = {});

// A TCP port on 127.0.0.1 that nothing listens on now, for a scheduler of a
// test's own; 0 when none could be had.
int free_port();

// The program under test and the repository, as the build configured them.
std::string kvalon_binary();
std::string source_dir();

} // namespace kvalon::testing
