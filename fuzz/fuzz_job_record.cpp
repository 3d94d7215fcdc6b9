// Any bytes as a kept job's record (any program of the user's may write into
// the history): read without a fault, and a record read is written back to
// the same record.
#include "engine/history/job_record.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<kvalon::JobRecord> record = kvalon::read_record_text(text)) {
        const std::string written = kvalon::record_text(*record);
        const std::optional<kvalon::JobRecord> again = kvalon::read_record_text(written);
        if (!again || kvalon::record_text(*again) != written) {
            std::abort();
        }
    }
    return 0;
}
