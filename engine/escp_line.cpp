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
    : m_reader(carried), m_most_cells(most_cells), m_kept(kept) {}

void EscpLineCut::take(std::string_view piece) {
    for (const char c : piece) {
        switch (m_reader.take(static_cast<unsigned char>(c))) {
        case EscpByte::Sequence:
            take_sequence_byte(c);
            break;
        case EscpByte::Cell: {
            const int width = m_reader.attributes().width();
            m_cut = m_cut || m_cells + width > m_most_cells;
            if (!m_cut) {
                m_kept.push_back(c);
                m_cells += width;
            }
            break;
        }
        case EscpByte::FormFeed:
            m_form_feed = true;
            m_kept.push_back(c);
            break;
        case EscpByte::Control:
        case EscpByte::Marker:
        case EscpByte::LineEnd:
            m_kept.push_back(c);
            break;
        }
    }
}

void EscpLineCut::take_sequence_byte(char byte) {
    if (!m_sequence_too_long) {
        m_sequence.push_back(byte);
        m_sequence_too_long = m_sequence.size() > kLongestKeptSequence;
    }
    if (!m_reader.in_sequence()) {
        if (!m_sequence_too_long) {
            m_kept += m_sequence;
        }
        m_sequence.clear();
        m_sequence_too_long = false;
    }
}

// A sequence the line end cuts short is dropped here as the reader drops it.
EscpAttributes EscpLineCut::finish() {
    m_reader.end_line();
    m_sequence.clear();
    m_sequence_too_long = false;
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
