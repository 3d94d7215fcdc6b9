#pragma once

#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {

// A watched folder or a port in a temporary folder of its own: the programs
// started write their standard error into `log()`, and every one still
// running when the case ends is killed.
class SpoolFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"in", "out", "tmp", "staging"}) {
            std::filesystem::create_directory(dir.file(folder));
        }
        env = {{"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"XDG_RUNTIME_DIR", dir.path()},
               {"XDG_STATE_HOME", dir.file("state")},
               {"TMPDIR", dir.file("tmp")},
               {"KVALON_PDF", ""},
               {"DISPLAY", ""},
               {"WAYLAND_DISPLAY", ""},
               {"QT_QPA_PLATFORM", ""}};
    }

    void TearDown() override {
        for (const pid_t pid : running) {
            kill(pid, SIGKILL);
            wait_for_program(pid);
        }
    }

    pid_t start(std::vector<std::string> words,
                const std::map<std::string, std::string>& extra = {}) {
        words.insert(words.begin(), kvalon_binary());
        std::map<std::string, std::string> all = env;
        for (const auto& [name, value] : extra) {
            all[name] = value;
        }
        const pid_t pid = start_logged_program(words, all, log());
        running.push_back(pid);
        return pid;
    }

    // Its exit status once it has ended.
    int ended(pid_t pid) {
        std::erase(running, pid);
        return wait_for_program(pid);
    }

    int stop(pid_t pid) {
        kill(pid, SIGTERM);
        return ended(pid);
    }

    // A file written elsewhere and renamed in whole, as a careful writer does.
    void drop(const std::string& name, const std::string& bytes) {
        write_bytes(dir.file("staging/" + name), bytes);
        std::filesystem::rename(dir.file("staging/" + name), in(name));
    }

    // The names in `folder`, sorted; none while it is not there yet.
    std::vector<std::string> names_in(const std::string& folder) const {
        std::vector<std::string> names;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    bool log_has(const std::string& text) const {
        return read_bytes(log()).find(text) != std::string::npos;
    }

    std::string in(const std::string& name = {}) const { return dir.file("in/" + name); }
    std::string out(const std::string& name = {}) const { return dir.file("out/" + name); }
    std::string log() const { return dir.file("log"); }

    TempDir dir;
    std::map<std::string, std::string> env;
    std::vector<pid_t> running;
};

// A report whose text names it, to find it in the PDF it became.
inline std::string report_named(const std::string& word) {
    return to_mik("Отчет ") + word + "\r\n" + to_mik("Сума 12.50") + "\r\n";
}

} // namespace kvalon::testing
