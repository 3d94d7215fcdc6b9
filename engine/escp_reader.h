#pragma once

#include "engine/escp_attributes.h"

#include <cstddef>
#include <cstdint>

namespace kvalon {

// What one byte of a report is to an Epson-compatible (ESC/P, ESC/P 2) printer.
enum class EscpByte {
    Sequence, // ESC, or a parameter or data byte of its sequence: never printed
    Control,  // a control byte the printer acts on without printing: no cell
    Cell,     // a printed character: attributes().width() cells
    Marker,   // the bold marker (code 2): no cell, bold by its own rule
    LineEnd,  // LF, or CR, which also ends the line for the reader
    FormFeed, // FF: the report's own page break
};

// Reads a report byte by byte as the printer would: every ESC sequence is
// consumed whole with its parameters and data, and the attributes it sets
// are kept. Lines are read one after the other; the attributes carry over
// from line to line, a sequence that the end of its line cuts short is
// dropped there.
class EscpReader {
public:
    static constexpr unsigned char kBoldMarker = 2;

    explicit EscpReader(const EscpAttributes& carried = {});

    EscpByte take(unsigned char byte);
    // Ends the line: drops a sequence it cut short and the one-line double
    // width. A CR does the same.
    void end_line();
    // The attributes in force; for a Cell, those it prints with.
    const EscpAttributes& attributes() const { return m_attributes; }

private:
    enum class State {
        Text,
        Command,
        Parameters,
        Data,
        TabList,
        RasterCount,
        RasterLiteral,
        RasterRepeat,
        UserCharHeader,
        UserCharData,
    };

    EscpByte take_text(unsigned char byte);
    void take_command(unsigned char command);
    void take_parameter(unsigned char byte);
    void take_tab(unsigned char byte);
    void take_raster(unsigned char byte);
    void take_user_char_header(unsigned char byte);
    void parameters_done();
    void apply(unsigned char command);
    void skip(std::uint64_t count);
    void start_raster();
    void next_user_char();
    unsigned parameter(std::size_t index) const { return m_parameters[index]; }
    unsigned count_at(std::size_t index) const {
        return parameter(index) + 256 * parameter(index + 1);
    }

    static constexpr std::size_t kMostParameters = 6;

    EscpAttributes m_attributes;
    State m_state = State::Text;
    unsigned char m_command = 0;
    unsigned char m_parameters[kMostParameters] = {};
    std::size_t m_have = 0;    // parameter bytes read
    std::size_t m_need = 0;    // parameter bytes the command takes
    std::uint64_t m_left = 0;  // data bytes still to skip, or raster bytes to decode
    unsigned m_tabs_left = 0;  // tab stops the list may still hold
    unsigned m_last_tab = 0;   // the stop read last, 0 before the first
    unsigned m_run = 0;        // literal bytes left, or repeats of the next byte
    unsigned m_chars_left = 0; // user-defined characters still to come
};

} // namespace kvalon
