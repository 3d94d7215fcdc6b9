#include "startup/answer_file.h"

#include "engine/atomic_file.h"
#include "platform/path_text.h"

#include <filesystem>

namespace kvalon {

namespace {
constexpr const char* kAnswerName = "TMPPRNT1.TMP";
} // namespace

std::string answer_folder(const std::string& source_path) {
    return folder_of(source_path);
}

void write_answer_file(const std::string& folder, std::int16_t lines_per_page) {
    const std::string target = text_of(path_of(folder) / kAnswerName);
    replace_file_atomically(target, std::to_string(lines_per_page) + "\r\n");
}

} // namespace kvalon
