#include "tests/support/test_files.h"

#include "engine/code_page.h"
#include "engine/utf8.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace kvalon::testing {

TempDir::TempDir() {
    std::string pattern = "/tmp/kvalon-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool file_exists(const std::string& path) {
    return std::filesystem::exists(path);
}

bool has_file_starting_with(const std::string& folder, const std::string& prefix) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string to_code_page(const std::string& utf8, CodePageId page) {
    // Reverse of the program's own table: the byte whose UTF-8 form stands at
    // each place, looked up by the form's first two bytes.
    std::multimap<std::string, std::pair<std::string, char>> forms;
    for (int code = 128; code < 256; ++code) {
        std::string form;
        append_utf8(form, character_of(page, static_cast<unsigned char>(code)));
        forms.emplace(form.substr(0, 2), std::make_pair(form, static_cast<char>(code)));
    }
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        bool matched = false;
        const auto [first, last] = forms.equal_range(utf8.substr(i, 2));
        for (auto candidate = first; candidate != last && !matched; ++candidate) {
            const auto& [form, code] = candidate->second;
            if (utf8.compare(i, form.size(), form) == 0) {
                out.push_back(code);
                i += form.size();
                matched = true;
            }
        }
        if (!matched) {
            out.push_back(utf8[i++]);
        }
    }
    return out;
}

std::string to_mik(const std::string& utf8) {
    return to_code_page(utf8, CodePageId::Mik);
}

std::string iconv_bytes(const std::string& utf8, const char* iconv_name) {
    iconv_t converter = iconv_open(iconv_name, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv knows no ") + iconv_name);
    }
    std::string in = utf8;
    std::string out(in.size() * 4, '\0');
    char* in_at = in.data();
    char* out_at = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const std::size_t done = iconv(converter, &in_at, &in_left, &out_at, &out_left);
    iconv_close(converter);
    if (done == static_cast<std::size_t>(-1)) {
        throw std::runtime_error(std::string("not in ") + iconv_name + ": " + utf8);
    }
    out.resize(out.size() - out_left);
    return out;
}

std::string kvalon_binary() {
    return KVALON_BINARY;
}
std::string source_dir() {
    return KVALON_SOURCE_DIR;
}
bool windows_program_built() {
    return KVALON_WINDOWS_BUILT != 0;
}

} // namespace kvalon::testing
