#pragma once

#include "engine/source_file.h"

#include <string>
#include <string_view>
#include <utility>

namespace kvalon {

// A page reader's bytes: those read ahead for the job first, then the
// source's, one at a time.
class ByteFeed {
public:
    ByteFeed(std::string pending, SourceFile& source)
        : m_pending(std::move(pending)), m_source(source) {}

    bool next(unsigned char& byte) {
        if (m_at < m_pending.size()) {
            byte = static_cast<unsigned char>(m_pending[m_at++]);
            return true;
        }
        const std::string_view bytes = m_source.available();
        if (bytes.empty()) {
            return false;
        }
        byte = static_cast<unsigned char>(bytes.front());
        m_source.consume(1);
        return true;
    }

private:
    std::string m_pending;
    std::size_t m_at = 0;
    SourceFile& m_source;
};

} // namespace kvalon
