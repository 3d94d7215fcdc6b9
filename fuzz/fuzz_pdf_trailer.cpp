// Any bytes as a document that begins as a PDF: whether it ends as one is
// told without reading outside it, and only when it has the words a PDF's
// end has.
#include "engine/pdf_trailer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    const auto read = [document](long long offset, std::size_t count) {
        if (offset < 0 || static_cast<std::size_t>(offset) > document.size()) {
            std::abort();
        }
        return std::string(document.substr(static_cast<std::size_t>(offset), count));
    };
    const bool whole = kvalon::has_pdf_trailer(static_cast<long long>(size), read);
    if (whole && (document.find("%%EOF") == std::string_view::npos ||
                  document.find("startxref") == std::string_view::npos)) {
        std::abort();
    }
    return 0;
}
