#include "platform/helper_process.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace kvalon {

// Helper programs read the documents they convert from descriptors passed to
// them, which Windows does not hand on to another program; until they get a
// way of their own, no helper is started and the callers tell that it is
// missing.
HelperProcess::HelperProcess(const HelperCall&) : m_error(ENOENT) {}

HelperProcess::~HelperProcess() = default;

bool HelperProcess::read_output(int, std::size_t, std::string& said) {
    said.clear();
    return true;
}

int HelperProcess::wait() {
    return -1;
}

void HelperProcess::end_group() {}

// No helper runs here, so no name is ever opened.
std::string passed_file_name(std::size_t index) {
    return "passed-" + std::to_string(index);
}

// A process's exit code is its status.
bool ended_well(int wait_status) {
    return wait_status == 0;
}

std::vector<std::string> environment_with(const std::vector<std::string>& dropped,
                                          const std::vector<std::string>& added) {
    std::vector<std::string> kept;
    for (char** entry = _environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (std::find(dropped.begin(), dropped.end(), name) == dropped.end()) {
            kept.push_back(text);
        }
    }
    kept.insert(kept.end(), added.begin(), added.end());
    return kept;
}

} // namespace kvalon
