// Any bytes as a watched folder's journal (another program may write into
// the folder): read without a fault, and every name in it goes through the
// journal's escaping and back unchanged, whatever bytes it holds.
#include "startup/watch/spool_journal.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& [claimed, entry] : kvalon::read_journal_text(text)) {
        for (const std::string& name : {claimed, entry.name, entry.target}) {
            const std::string escaped = kvalon::escape_name(name);
            if (kvalon::unescape_name(escaped) != name ||
                escaped.find_first_of(" \n") != std::string::npos) {
                std::abort();
            }
        }
    }
    if (kvalon::unescape_name(kvalon::escape_name(text)) != text) {
        std::abort();
    }
    return 0;
}
