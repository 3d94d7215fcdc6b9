#include "engine/escp_line.h"

#include "engine/print_job.h"

namespace kvalon {

EscpLine read_escp_line(std::string_view line, EscpAttributes& carried) {
    EscpReader reader(carried);
    EscpLine result;
    for (const char c : line) {
        const auto code = static_cast<unsigned char>(c);
        const EscpByte kind = reader.take(code);
        if (kind == EscpByte::Cell) {
            result.cells.push_back(EscpCell{code, reader.attributes()});
            result.width += reader.attributes().width();
        } else if (kind == EscpByte::FormFeed) {
            result.form_feed = true;
        }
    }
    reader.end_line();
    carried = reader.attributes();
    return result;
}

EscpLineCut::EscpLineCut(const EscpAttributes& carried, std::int64_t most_cells, std::string& kept)
    : m_reader(carried), m_kept_state(carried), m_most_cells(most_cells), m_kept(kept) {}

void EscpLineCut::take(std::string_view piece) {
    for (const char c : piece) {
        switch (m_reader.take(static_cast<unsigned char>(c))) {
        case EscpByte::Cell:
            if (fits(m_reader.attributes().width())) {
                keep_attributes(m_reader.attributes());
                if (m_marker_pending) {
                    m_kept.push_back(static_cast<char>(EscpReader::kBoldMarker));
                    m_marker_pending = false;
                }
                m_kept.push_back(c);
            }
            break;
        case EscpByte::Marker:
            m_marker_pending = !m_marker_pending;
            break;
        case EscpByte::LineEnd:
            // A line feed inside the line starts a printed line of its own;
            // bold by marker and SO end with it.
            if (fits(1)) {
                m_kept.push_back(c);
                m_kept_state.wide_line = false;
                m_marker_pending = false;
            }
            break;
        case EscpByte::FormFeed:
            m_form_feed = true;
            break;
        case EscpByte::Sequence:
        case EscpByte::Control:
            break;
        }
    }
}

// Once something does not fit, nothing after it is printed.
bool EscpLineCut::fits(int cells) {
    m_cut = m_cut || m_cells + cells > m_most_cells;
    if (!m_cut) {
        m_cells += cells;
    }
    return !m_cut;
}

// ESC ! sets all five lasting attributes at once; SO and DC4 the one-line
// double width; ESC t and ESC R the character tables.
void EscpLineCut::keep_attributes(const EscpAttributes& wanted) {
    EscpAttributes lasting = wanted;
    lasting.wide_line = m_kept_state.wide_line;
    lasting.character_table = m_kept_state.character_table;
    lasting.international = m_kept_state.international;
    if (!(lasting == m_kept_state)) {
        const int bits = (wanted.emphasized ? 0x08 : 0) | (wanted.double_strike ? 0x10 : 0) |
                         (wanted.wide ? 0x20 : 0) | (wanted.italic ? 0x40 : 0) |
                         (wanted.underline ? 0x80 : 0);
        m_kept += "\x1b!";
        m_kept.push_back(static_cast<char>(bits));
    }
    if (wanted.wide_line != m_kept_state.wide_line) {
        m_kept.push_back(wanted.wide_line ? '\x0e' : '\x14');
    }
    if (wanted.character_table != m_kept_state.character_table) {
        m_kept += "\x1bt";
        m_kept.push_back(static_cast<char>(wanted.character_table));
    }
    if (wanted.international != m_kept_state.international) {
        m_kept += "\x1bR";
        m_kept.push_back(static_cast<char>(wanted.international));
    }
    m_kept_state = wanted;
}

EscpAttributes EscpLineCut::finish() {
    m_reader.end_line();
    m_kept_state.wide_line = false;
    keep_attributes(m_reader.attributes());
    return m_reader.attributes();
}

std::string without_escp_sequences(std::string_view text) {
    EscpReader reader;
    std::string plain;
    plain.reserve(text.size());
    for (const char c : text) {
        const EscpByte kind = reader.take(static_cast<unsigned char>(c));
        if (kind != EscpByte::Sequence && kind != EscpByte::Control) {
            plain.push_back(c);
        }
    }
    return plain;
}

std::string escp_screen_page(const std::string& page) {
    return job().EscpMode ? without_escp_sequences(page) : page;
}

} // namespace kvalon
