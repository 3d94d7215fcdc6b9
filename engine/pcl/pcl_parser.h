#pragma once

#include <cstdint>

namespace kvalon {

// One command of a PCL escape sequence. A parameterized sequence
// (ESC & l 1 o 2 A) is taken as one command for each of its values, each
// with the sequence's parameterized and group characters; a two-character
// sequence (ESC E) has neither, its letter in `terminator`.
struct PclCommand {
    char parameterized = 0; // '!' .. '/', 0 for a two-character sequence
    char group = 0;         // '`' .. '~', 0 when the sequence has none
    char terminator = 0;    // upper case: '@' .. '^' (a combining letter is given upper case)
    double value = 0;       // with its sign and decimals; 0 when none is given
    bool has_value = false;
    bool has_sign = false; // a relative move: the value was given with + or -
    // The data bytes that follow the command (its value, for W commands,
    // transparent print data and colour planes' rows).
    std::uint32_t data_count = 0;

    bool is(char p, char g, char t) const {
        return parameterized == p && group == g && terminator == t;
    }
};

// What the parser finds, in the order of the report's bytes.
class PclHandler {
public:
    // A byte outside every sequence: a character or a control byte.
    virtual void on_text(unsigned char byte) = 0;
    // A command whose data, if it has any, follows in on_data().
    virtual void on_command(const PclCommand& command) = 0;
    // One byte of the data of the last command, and its end, also when the
    // report ends inside the data.
    virtual void on_data(const PclCommand& command, unsigned char byte) = 0;
    virtual void on_data_end(const PclCommand& command) = 0;

protected:
    ~PclHandler() = default;
};

// Reads a report byte by byte by PCL's own syntax: ESC, then a character
// 0..~ of a two-character sequence, or a parameterized character, a group
// character where it has one, and values each with an optional sign and
// decimals ended by a letter, lower case when another value follows. The
// data bytes a command announces (every W command, transparent print data)
// are counted off whatever they hold. Any sequence is read past whole,
// known to the printer or not; a byte that breaks a sequence ends it and
// is dropped. The parser is a value: a copy goes on reading where it stands.
class PclParser {
public:
    // The handler sees a byte before the parser moves past it: a copy of the
    // parser taken while the handler works reads that byte again.
    void take(unsigned char byte, PclHandler& handler);
    // The report ends: data cut short ends where it stands.
    void finish(PclHandler& handler);
    bool between_sequences() const { return m_state == State::Text; }
    bool in_data() const { return m_state == State::Data; }
    bool operator==(const PclParser&) const = default;

    // Values are kept to this many digits: more cannot change a command.
    static constexpr int kMostDigits = 12;
    // The largest count of data bytes a command may announce.
    static constexpr std::uint32_t kMostData = 32767;

private:
    enum class State : std::uint8_t { Text, Escape, Group, Value, Data };

    void start_sequence(char parameterized);
    void take_value_byte(unsigned char byte, PclHandler& handler);
    void end_value(char letter, PclHandler& handler);
    void reset_value();

    State m_state = State::Text;
    PclCommand m_command;
    bool m_combining = false; // the data's sequence goes on after it
    std::int64_t m_whole = 0;
    std::int64_t m_fraction = 0;
    std::int64_t m_fraction_scale = 1;
    int m_digits = 0;
    bool m_in_fraction = false;
    bool m_negative = false;
    std::uint32_t m_data_left = 0;
};

} // namespace kvalon
