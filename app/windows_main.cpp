#include "platform/console_streams.h"
#include "startup/batch_program.h"

#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string utf8_of(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

// The words as Windows gives the command line (GetCommandLineW, split by the
// system's own rules, quotes and all), in UTF-8 as everything inside the
// program.
int wmain(int, wchar_t**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 0; wide != nullptr && i < count; ++i) {
        words.push_back(utf8_of(wide[i]));
    }
    ::LocalFree(wide);
    if (words.empty()) {
        words.emplace_back("kvalon-p");
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    kvalon::prepare_console_streams();
    return kvalon::run_program(static_cast<int>(words.size()), argv.data());
}
