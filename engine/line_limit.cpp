#include "engine/line_limit.h"

#include "engine/control_codes.h"

namespace kvalon {

bool LineLimitWatch::feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (m_hopeless || m_text_ended) {
            break;
        }
        const auto code = static_cast<unsigned char>(c);
        const bool line_feed_after_cr = m_after_cr && code == codes::LineFeed;
        m_after_cr = code == codes::CarriageReturn;
        if (code == codes::DosEndOfFile) {
            m_text_ended = true;
        } else if (m_after_cr) {
            m_length = 0;
            m_markers = 0;
        } else if (!line_feed_after_cr) {
            ++m_length;
            m_markers += c == m_marker ? 1 : 0;
            m_hopeless = line_cannot_be_planned(m_length, m_markers);
        }
    }
    return m_hopeless;
}

} // namespace kvalon
