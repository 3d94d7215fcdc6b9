#include "engine/escp_reader.h"

#include <algorithm>
#include <array>

namespace kvalon {

namespace {

constexpr unsigned char kTab = 9;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kFormFeed = 12;
constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kShiftOut = 14;
constexpr unsigned char kShiftIn = 15;
constexpr unsigned char kDeviceControl4 = 20;
constexpr unsigned char kEndOfMedium = 25;
constexpr unsigned char kEscape = 27;
constexpr unsigned char kFirstPrintable = 32;
constexpr unsigned char kDelete = 127;
constexpr unsigned kMostTabStops = 32;
constexpr unsigned kMostVerticalTabStops = 16;
constexpr unsigned kBitsPerByte = 8;

// How the length of a sequence is found once its command byte is known.
enum class Rule : unsigned char {
    Unknown,     // ESC and this one byte
    Fixed,       // a fixed number of parameters
    PageLength,  // ESC C n, or ESC C 0 n when n is 0
    Data,        // the last two parameters nL nH count the data bytes
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
// languages (9-pin ESC/P included). Sequences with data are read to their
// data's end by their rule.
constexpr TableEntry kTable[] = {
    {'@', Rule::Fixed, 0},       {'E', Rule::Fixed, 0},          {'F', Rule::Fixed, 0},
    {'G', Rule::Fixed, 0},       {'H', Rule::Fixed, 0},          {'4', Rule::Fixed, 0},
    {'5', Rule::Fixed, 0},       {'M', Rule::Fixed, 0},          {'P', Rule::Fixed, 0},
    {'g', Rule::Fixed, 0},       {'T', Rule::Fixed, 0},          {'0', Rule::Fixed, 0},
    {'1', Rule::Fixed, 0},       {'2', Rule::Fixed, 0},          {'6', Rule::Fixed, 0},
    {'7', Rule::Fixed, 0},       {'8', Rule::Fixed, 0},          {'9', Rule::Fixed, 0},
    {'<', Rule::Fixed, 0},       {'O', Rule::Fixed, 0},          {'#', Rule::Fixed, 0},
    {'=', Rule::Fixed, 0},       {'>', Rule::Fixed, 0},          {kShiftOut, Rule::Fixed, 0},
    {kShiftIn, Rule::Fixed, 0},  {'x', Rule::Fixed, 1},          {'k', Rule::Fixed, 1},
    {'W', Rule::Fixed, 1},       {'-', Rule::Fixed, 1},          {'S', Rule::Fixed, 1},
    {'3', Rule::Fixed, 1},       {'A', Rule::Fixed, 1},          {'+', Rule::Fixed, 1},
    {'N', Rule::Fixed, 1},       {'Q', Rule::Fixed, 1},          {'l', Rule::Fixed, 1},
    {'R', Rule::Fixed, 1},       {'t', Rule::Fixed, 1},          {'!', Rule::Fixed, 1},
    {' ', Rule::Fixed, 1},       {'J', Rule::Fixed, 1},          {'j', Rule::Fixed, 1},
    {'a', Rule::Fixed, 1},       {'p', Rule::Fixed, 1},          {'U', Rule::Fixed, 1},
    {'r', Rule::Fixed, 1},       {'w', Rule::Fixed, 1},          {'q', Rule::Fixed, 1},
    {'h', Rule::Fixed, 1},       {'%', Rule::Fixed, 1},          {'I', Rule::Fixed, 1},
    {'i', Rule::Fixed, 1},       {'m', Rule::Fixed, 1},          {'s', Rule::Fixed, 1},
    {'/', Rule::Fixed, 1},       {kEndOfMedium, Rule::Fixed, 1}, {'$', Rule::Fixed, 2},
    {'\\', Rule::Fixed, 2},      {'c', Rule::Fixed, 2},          {'e', Rule::Fixed, 2},
    {'f', Rule::Fixed, 2},       {'?', Rule::Fixed, 2},          {'X', Rule::Fixed, 3},
    {':', Rule::Fixed, 3},       {'C', Rule::PageLength, 1},     {'(', Rule::Data, 3},
    {'K', Rule::Data, 2},        {'L', Rule::Data, 2},           {'Y', Rule::Data, 2},
    {'Z', Rule::Data, 2},        {'*', Rule::BitImage, 3},       {'^', Rule::NineDot, 3},
    {'.', Rule::Raster, 6},      {'D', Rule::TabList, 0},        {'B', Rule::TabList, 0},
    {'b', Rule::ChannelTabs, 1}, {'&', Rule::UserChars, 3},
};

constexpr std::array<Command, 256> make_commands() {
    std::array<Command, 256> commands{};
    for (const TableEntry& entry : kTable) {
        commands[entry.command] = Command{entry.rule, entry.parameters};
    }
    return commands;
}

constexpr std::array<Command, 256> kCommands = make_commands();

// ESC * m: 8-dot modes below 32, 24-dot modes below 64, 48-dot modes above.
unsigned bytes_per_column(unsigned mode) {
    if (mode < 32) {
        return 1;
    }
    return mode < 64 ? 3 : 6;
}

// "1" and "0" switch on and off as the bytes 1 and 0 do; other values
// leave the attribute as it is, as the printer does.
void switch_by(bool& attribute, unsigned n) {
    if (n == 1 || n == '1') {
        attribute = true;
    } else if (n == 0 || n == '0') {
        attribute = false;
    }
}

// ESC ! sets every mode it has a bit for at once.
void master_select(EscpAttributes& a, unsigned n) {
    a.emphasized = (n & 0x08) != 0;
    a.double_strike = (n & 0x10) != 0;
    a.wide = (n & 0x20) != 0;
    a.italic = (n & 0x40) != 0;
    a.underline = (n & 0x80) != 0;
}

} // namespace

EscpReader::EscpReader(const EscpAttributes& carried) : m_attributes(carried) {}

EscpByte EscpReader::take(unsigned char byte) {
    if (byte == kCarriageReturn) {
        end_line();
        return EscpByte::LineEnd;
    }
    switch (m_state) {
    case State::Text:
        return take_text(byte);
    case State::Command:
        take_command(byte);
        break;
    case State::Parameters:
        take_parameter(byte);
        break;
    case State::Data:
        if (--m_left == 0) {
            m_state = State::Text;
        }
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
    return EscpByte::Sequence;
}

void EscpReader::end_line() {
    m_state = State::Text;
    m_attributes.wide_line = false;
}

EscpByte EscpReader::take_text(unsigned char byte) {
    switch (byte) {
    case kEscape:
        m_state = State::Command;
        return EscpByte::Sequence;
    case kBoldMarker:
        return EscpByte::Marker;
    case kLineFeed:
        m_attributes.wide_line = false;
        return EscpByte::LineEnd;
    case kFormFeed:
        m_attributes.wide_line = false;
        return EscpByte::FormFeed;
    case kTab:
        // Tab stops are not followed: a tab keeps its one blank cell.
        return EscpByte::Cell;
    case kShiftOut:
        m_attributes.wide_line = true;
        return EscpByte::Control;
    case kDeviceControl4:
        m_attributes.wide_line = false;
        return EscpByte::Control;
    default:
        return byte < kFirstPrintable || byte == kDelete ? EscpByte::Control : EscpByte::Cell;
    }
}

void EscpReader::take_command(unsigned char command) {
    m_command = command;
    m_have = 0;
    const Command& known = kCommands[command];
    if (known.rule == Rule::Unknown) {
        m_state = State::Text;
        return;
    }
    if (known.rule == Rule::TabList) {
        m_tabs_left = command == 'D' ? kMostTabStops : kMostVerticalTabStops;
        m_last_tab = 0;
        m_state = State::TabList;
        return;
    }
    m_need = known.parameters;
    m_state = State::Parameters;
    if (m_need == 0) {
        parameters_done();
    }
}

void EscpReader::take_parameter(unsigned char byte) {
    m_parameters[m_have++] = byte;
    if (m_have == m_need) {
        parameters_done();
    }
}

void EscpReader::parameters_done() {
    m_state = State::Text;
    switch (kCommands[m_command].rule) {
    case Rule::Fixed:
        apply(m_command);
        break;
    case Rule::PageLength:
        if (m_have == 1 && parameter(0) == 0) {
            m_need = 2;
            m_state = State::Parameters;
        }
        break;
    case Rule::Data:
        skip(count_at(m_need - 2));
        break;
    case Rule::BitImage:
        skip(std::uint64_t{count_at(1)} * bytes_per_column(parameter(0)));
        break;
    case Rule::NineDot:
        skip(std::uint64_t{count_at(1)} * 2);
        break;
    case Rule::Raster:
        start_raster();
        break;
    case Rule::ChannelTabs:
        m_tabs_left = kMostVerticalTabStops;
        m_last_tab = 0;
        m_state = State::TabList;
        break;
    case Rule::UserChars:
        m_chars_left = parameter(2) >= parameter(1) ? parameter(2) - parameter(1) + 1 : 0;
        m_have = 0;
        m_state = m_chars_left > 0 ? State::UserCharHeader : State::Text;
        break;
    case Rule::Unknown:
    case Rule::TabList:
        break;
    }
}

void EscpReader::apply(unsigned char command) {
    EscpAttributes& a = m_attributes;
    const unsigned n = m_have > 0 ? parameter(0) : 0;
    switch (command) {
    case '@':
        a = EscpAttributes{};
        break;
    case 'E':
    case 'F':
        a.emphasized = command == 'E';
        break;
    case 'G':
    case 'H':
        a.double_strike = command == 'G';
        break;
    case '4':
    case '5':
        a.italic = command == '4';
        break;
    case '-':
        switch_by(a.underline, n);
        break;
    case 'W':
        switch_by(a.wide, n);
        break;
    case kShiftOut:
        a.wide_line = true;
        break;
    case '!':
        master_select(a, n);
        break;
    case 't':
        a.character_table = escp_character_table(static_cast<unsigned char>(n), a.character_table);
        break;
    case 'R':
        a.international = escp_international_set(static_cast<unsigned char>(n), a.international);
        break;
    default:
        // Pitch, condensed, spacing, margins, fonts and paper handling leave
        // the grid as it is: the planned font already fits the widest line.
        break;
    }
}

void EscpReader::skip(std::uint64_t count) {
    m_left = count;
    m_state = count > 0 ? State::Data : State::Text;
}

// Uncompressed rows are skipped by their size; run-length rows are decoded
// count by count until they make up that size. Other compressions are read
// as their header only.
void EscpReader::start_raster() {
    const std::uint64_t columns = count_at(4);
    const std::uint64_t bytes = parameter(3) * ((columns + kBitsPerByte - 1) / kBitsPerByte);
    if (parameter(0) == 0) {
        skip(bytes);
    } else if (parameter(0) == 1 && bytes > 0) {
        m_left = bytes;
        m_state = State::RasterCount;
    }
}

void EscpReader::take_raster(unsigned char byte) {
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
    const std::uint64_t made = m_state == State::RasterLiteral ? 1 : m_run;
    m_left -= std::min(m_left, made);
    m_run = m_state == State::RasterLiteral ? m_run - 1 : 0;
    if (m_left == 0) {
        m_state = State::Text;
    } else if (m_run == 0) {
        m_state = State::RasterCount;
    }
}

// Stops come in rising order: NUL, or a stop not beyond the one before,
// ends the list, as does the last stop the command can hold.
void EscpReader::take_tab(unsigned char byte) {
    if (byte <= m_last_tab) {
        m_state = State::Text;
        return;
    }
    m_last_tab = byte;
    if (--m_tabs_left == 0) {
        m_state = State::Text;
    }
}

void EscpReader::take_user_char_header(unsigned char byte) {
    m_parameters[m_have++] = byte;
    if (m_have == 3) {
        m_left = 3u * parameter(1);
        if (m_left == 0) {
            next_user_char();
        } else {
            m_state = State::UserCharData;
        }
    }
}

void EscpReader::next_user_char() {
    m_have = 0;
    m_state = --m_chars_left == 0 ? State::Text : State::UserCharHeader;
}

} // namespace kvalon
