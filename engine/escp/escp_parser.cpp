#include "engine/escp/escp_parser.h"

#include "engine/control_codes.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr unsigned kMostTabStops = 32;
constexpr unsigned kMostVerticalTabStops = 16;
constexpr unsigned kBitsPerByte = 8;

// How the length of a sequence is found once its command byte is known.
enum class Rule : unsigned char {
    Unknown,     // ESC and this one byte
    Fixed,       // a fixed number of parameters
    PageLength,  // ESC C n, or ESC C 0 n when n is 0
    Data,        // ESC ( c nL nH: nL + 256 nH data bytes
    Columns,     // ESC K, L, Y, Z nL nH: columns of the density ESC ? gave them
    BitImage,    // ESC * m nL nH: nL + 256 nH columns of 1, 3 or 6 bytes by m
    NineDot,     // ESC ^ m nL nH: columns of two bytes
    Raster,      // ESC . c v h m nL nH: m rows of the columns in whole bytes
    TabList,     // stops up to NUL (at most 32 for ESC D, 16 for ESC B)
    ChannelTabs, // ESC b c, then stops up to NUL (at most 16)
    UserChars,   // ESC & 0 n m: per character d0 d1 d2 and 3 x d1 bytes
};

struct Command {
    Rule rule = Rule::Unknown;
    unsigned char parameters = 0;
};

struct TableEntry {
    unsigned char command;
    Rule rule;
    unsigned char parameters;
};

// Every sequence of ESC/P and ESC/P 2 after its ESC, with the parameter bytes
// that follow the command byte, after Epson's command summaries of both
// languages (9-pin ESC/P included).
constexpr TableEntry kTable[] = {
    {'@', Rule::Fixed, 0},
    {'E', Rule::Fixed, 0},
    {'F', Rule::Fixed, 0},
    {'G', Rule::Fixed, 0},
    {'H', Rule::Fixed, 0},
    {'4', Rule::Fixed, 0},
    {'5', Rule::Fixed, 0},
    {'M', Rule::Fixed, 0},
    {'P', Rule::Fixed, 0},
    {'g', Rule::Fixed, 0},
    {'T', Rule::Fixed, 0},
    {'0', Rule::Fixed, 0},
    {'1', Rule::Fixed, 0},
    {'2', Rule::Fixed, 0},
    {'6', Rule::Fixed, 0},
    {'7', Rule::Fixed, 0},
    {'8', Rule::Fixed, 0},
    {'9', Rule::Fixed, 0},
    {'<', Rule::Fixed, 0},
    {'O', Rule::Fixed, 0},
    {'#', Rule::Fixed, 0},
    {'=', Rule::Fixed, 0},
    {'>', Rule::Fixed, 0},
    {codes::ShiftOut, Rule::Fixed, 0},
    {codes::ShiftIn, Rule::Fixed, 0},
    {'x', Rule::Fixed, 1},
    {'k', Rule::Fixed, 1},
    {'W', Rule::Fixed, 1},
    {'-', Rule::Fixed, 1},
    {'S', Rule::Fixed, 1},
    {'3', Rule::Fixed, 1},
    {'A', Rule::Fixed, 1},
    {'+', Rule::Fixed, 1},
    {'N', Rule::Fixed, 1},
    {'Q', Rule::Fixed, 1},
    {'l', Rule::Fixed, 1},
    {'R', Rule::Fixed, 1},
    {'t', Rule::Fixed, 1},
    {'!', Rule::Fixed, 1},
    {' ', Rule::Fixed, 1},
    {'J', Rule::Fixed, 1},
    {'j', Rule::Fixed, 1},
    {'a', Rule::Fixed, 1},
    {'p', Rule::Fixed, 1},
    {'U', Rule::Fixed, 1},
    {'r', Rule::Fixed, 1},
    {'w', Rule::Fixed, 1},
    {'q', Rule::Fixed, 1},
    {'h', Rule::Fixed, 1},
    {'%', Rule::Fixed, 1},
    {'I', Rule::Fixed, 1},
    {'i', Rule::Fixed, 1},
    {'m', Rule::Fixed, 1},
    {'s', Rule::Fixed, 1},
    {'/', Rule::Fixed, 1},
    {codes::EndOfMedium, Rule::Fixed, 1},
    {'$', Rule::Fixed, 2},
    {'\\', Rule::Fixed, 2},
    {'c', Rule::Fixed, 2},
    {'e', Rule::Fixed, 2},
    {'f', Rule::Fixed, 2},
    {'?', Rule::Fixed, 2},
    {'X', Rule::Fixed, 3},
    {':', Rule::Fixed, 3},
    {'C', Rule::PageLength, 1},
    {'(', Rule::Data, 3},
    {'K', Rule::Columns, 2},
    {'L', Rule::Columns, 2},
    {'Y', Rule::Columns, 2},
    {'Z', Rule::Columns, 2},
    {'*', Rule::BitImage, 3},
    {'^', Rule::NineDot, 3},
    {'.', Rule::Raster, 6},
    {'D', Rule::TabList, 0},
    {'B', Rule::TabList, 0},
    {'b', Rule::ChannelTabs, 1},
    {'&', Rule::UserChars, 3},
};

constexpr std::array<Command, 256> make_commands() {
    std::array<Command, 256> commands{};
    for (const TableEntry& entry : kTable) {
        commands[entry.command] = Command{entry.rule, entry.parameters};
    }
    return commands;
}

constexpr std::array<Command, 256> kCommands = make_commands();

} // namespace

// ESC * m: 8-dot modes below 32, 24-dot modes below 64, 48-dot modes above.
unsigned escp_bytes_per_column(unsigned mode) {
    if (mode < 32) {
        return 1;
    }
    return mode < 64 ? 3 : 6;
}

void EscpParser::take(unsigned char byte) {
    switch (m_state) {
    case State::Text:
        if (byte == codes::Escape) {
            m_state = State::Command;
        } else {
            m_handler.on_text(byte);
        }
        break;
    case State::Command:
        take_command(byte);
        break;
    case State::Parameters:
        take_parameter(byte);
        break;
    case State::Skip:
    case State::Keep:
        if (m_state == State::Keep && m_command.list.size() < EscpCommand::kKeptData) {
            m_command.list.push_back(byte);
        }
        if (--m_left == 0) {
            command_done();
        }
        break;
    case State::Graphics:
        graphics_byte(byte);
        break;
    case State::TabList:
        take_tab(byte);
        break;
    case State::RasterCount:
    case State::RasterLiteral:
    case State::RasterRepeat:
        take_raster(byte);
        break;
    case State::UserCharHeader:
        take_user_char_header(byte);
        break;
    case State::UserCharData:
        if (--m_left == 0) {
            next_user_char();
        }
        break;
    }
}

void EscpParser::finish() {
    if (m_state == State::Graphics || m_state == State::RasterCount ||
        m_state == State::RasterLiteral || m_state == State::RasterRepeat) {
        m_handler.on_graphics_end();
    }
    m_state = State::Text;
}

void EscpParser::command_done() {
    m_state = State::Text;
    m_handler.on_command(m_command);
}

void EscpParser::take_command(unsigned char code) {
    m_command = EscpCommand{};
    m_command.code = code;
    const Command& known = kCommands[code];
    if (known.rule == Rule::Unknown) {
        m_state = State::Text;
        return;
    }
    if (known.rule == Rule::TabList) {
        m_tabs_left = code == 'D' ? kMostTabStops : kMostVerticalTabStops;
        m_state = State::TabList;
        return;
    }
    m_need = known.parameters;
    m_state = State::Parameters;
    if (m_need == 0) {
        parameters_done();
    }
}

void EscpParser::take_parameter(unsigned char byte) {
    m_command.parameters[m_command.count++] = byte;
    if (m_command.count == m_need) {
        parameters_done();
    }
}

void EscpParser::parameters_done() {
    switch (kCommands[m_command.code].rule) {
    case Rule::Fixed:
        command_done();
        break;
    case Rule::PageLength:
        if (m_command.count == 1 && m_command.parameter(0) == 0) {
            m_need = 2;
        } else {
            command_done();
        }
        break;
    case Rule::Data:
        start_data(m_command.word_at(1));
        break;
    case Rule::Columns:
        start_graphics(std::uint64_t{m_command.word_at(0)} *
                       escp_bytes_per_column(m_handler.graphics_mode(m_command.code)));
        break;
    case Rule::BitImage:
        start_graphics(std::uint64_t{m_command.word_at(1)} *
                       escp_bytes_per_column(m_command.parameter(0)));
        break;
    case Rule::NineDot:
        start_graphics(std::uint64_t{m_command.word_at(1)} * 2);
        break;
    case Rule::Raster:
        start_raster();
        break;
    case Rule::ChannelTabs:
        m_tabs_left = kMostVerticalTabStops;
        m_state = State::TabList;
        break;
    case Rule::UserChars: {
        const unsigned first = m_command.parameter(1);
        const unsigned last = m_command.parameter(2);
        m_chars_left = last >= first ? last - first + 1 : 0;
        m_command.count = 0;
        m_state = m_chars_left > 0 ? State::UserCharHeader : State::Text;
        break;
    }
    case Rule::Unknown:
    case Rule::TabList:
        m_state = State::Text;
        break;
    }
}

// ESC ( keeps the start of its data for the command to read; the print of
// ESC ( ^ and whatever else is longer is skipped.
void EscpParser::start_data(std::uint64_t count) {
    m_left = count;
    if (count == 0) {
        command_done();
    } else {
        m_state = State::Keep;
    }
}

void EscpParser::start_graphics(std::uint64_t bytes) {
    m_handler.on_graphics_start(m_command);
    m_left = bytes;
    m_state = State::Graphics;
    if (bytes == 0) {
        m_state = State::Text;
        m_handler.on_graphics_end();
    }
}

// Uncompressed rows come as they are; run-length rows are expanded count by
// count until they make up their size. Other compressions are read as their
// header only.
void EscpParser::start_raster() {
    const unsigned compression = m_command.parameter(0);
    const std::uint64_t columns = m_command.word_at(4);
    const std::uint64_t bytes =
        m_command.parameter(3) * ((columns + kBitsPerByte - 1) / kBitsPerByte);
    if (compression == 0) {
        start_graphics(bytes);
    } else if (compression == 1) {
        start_graphics(bytes);
        if (bytes > 0) {
            m_state = State::RasterCount;
        }
    } else {
        command_done();
    }
}

void EscpParser::graphics_byte(unsigned char byte) {
    m_handler.on_graphics_byte(byte);
    if (--m_left == 0) {
        m_state = State::Text;
        m_handler.on_graphics_end();
    }
}

void EscpParser::take_raster(unsigned char byte) {
    if (m_state == State::RasterCount) {
        constexpr unsigned kFirstRepeat = 128;
        if (byte < kFirstRepeat) {
            m_run = byte + 1u;
            m_state = State::RasterLiteral;
        } else {
            m_run = 257u - byte;
            m_state = State::RasterRepeat;
        }
        return;
    }
    const bool literal = m_state == State::RasterLiteral;
    const std::uint64_t made = std::min<std::uint64_t>(m_left, literal ? 1 : m_run);
    m_run = literal ? m_run - 1 : 0;
    const State next = m_run == 0 ? State::RasterCount : m_state;
    for (std::uint64_t i = 0; i < made; ++i) {
        graphics_byte(byte);
    }
    if (m_state != State::Text) {
        m_state = next;
    }
}

// Stops come in rising order: NUL, or a stop not beyond the one before,
// ends the list, as does the last stop the command can hold.
void EscpParser::take_tab(unsigned char byte) {
    const unsigned last = m_command.list.empty() ? 0 : m_command.list.back();
    if (byte <= last) {
        command_done();
        return;
    }
    m_command.list.push_back(byte);
    if (--m_tabs_left == 0) {
        command_done();
    }
}

void EscpParser::take_user_char_header(unsigned char byte) {
    m_command.parameters[m_command.count++] = byte;
    if (m_command.count == 3) {
        m_left = 3u * m_command.parameter(1);
        if (m_left == 0) {
            next_user_char();
        } else {
            m_state = State::UserCharData;
        }
    }
}

void EscpParser::next_user_char() {
    m_command.count = 0;
    m_state = --m_chars_left == 0 ? State::Text : State::UserCharHeader;
}

} // namespace kvalon
