#pragma once

// Programs are run through child_process.h; most tests need both.
#include "tests/support/child_process.h"

#include "engine/code_page.h"

#include <string>

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
// True when `folder` holds a file whose name begins with `prefix` (the PDF
// printer writes its document under a fresh hidden name beside the target).
bool has_file_starting_with(const std::string& folder, const std::string& prefix);

// UTF-8 text in the DOS code page MIK (Cyrillic, box and block characters).
std::string to_mik(const std::string& utf8);
// UTF-8 text in `page`; characters the page lacks pass as their UTF-8 bytes.
std::string to_code_page(const std::string& utf8, CodePageId page);
// The bytes of `utf8` in a code page as glibc's iconv writes them, for
// expected bytes that must not come from the program's own tables. Throws
// std::runtime_error when iconv lacks the page or a character.
std::string iconv_bytes(const std::string& utf8, const char* iconv_name);

// The program under test and the repository, as the build configured them.
std::string kvalon_binary();
std::string source_dir();
// False in a build without the windows (KVALON_BUILD_DESKTOP=OFF): the cases
// that run the windows' program skip, saying so.
bool windows_program_built();
inline const char* const kNoWindowsProgram = "built without the windows' program";

} // namespace kvalon::testing
