#include "engine/pcl/pcl_parser.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr unsigned char kEscape = 0x1B;

bool in_range(unsigned char byte, char first, char last) {
    return byte >= static_cast<unsigned char>(first) && byte <= static_cast<unsigned char>(last);
}

bool is_parameterized(unsigned char byte) {
    return in_range(byte, '!', '/');
}

bool is_group(unsigned char byte) {
    return in_range(byte, '`', '~');
}

bool is_terminator(unsigned char byte) {
    return in_range(byte, '@', '^');
}

bool is_value_byte(unsigned char byte) {
    return in_range(byte, '0', '9') || byte == '+' || byte == '-' || byte == '.';
}

// The commands whose value counts the data bytes that follow them: every W,
// transparent print data and a raster row of one colour plane.
bool carries_data(const PclCommand& command) {
    return command.terminator == 'W' || command.is('&', 'p', 'X') || command.is('*', 'b', 'V');
}

} // namespace

void PclParser::take(unsigned char byte, PclHandler& handler) {
    switch (m_state) {
    case State::Text:
        if (byte == kEscape) {
            m_state = State::Escape;
        } else {
            handler.on_text(byte);
        }
        return;
    case State::Escape:
        if (is_parameterized(byte)) {
            start_sequence(static_cast<char>(byte));
        } else if (in_range(byte, '0', '~')) {
            m_command = PclCommand{};
            m_command.terminator = static_cast<char>(byte);
            m_state = State::Text;
            handler.on_command(m_command);
        } else if (byte != kEscape) {
            m_state = State::Text;
        }
        return;
    case State::Group:
        if (is_group(byte)) {
            m_command.group = static_cast<char>(byte);
            m_state = State::Value;
            return;
        }
        m_state = State::Value;
        take_value_byte(byte, handler);
        return;
    case State::Value:
        take_value_byte(byte, handler);
        return;
    case State::Data:
        handler.on_data(m_command, byte);
        if (--m_data_left == 0) {
            const PclCommand command = m_command;
            m_state = m_combining ? State::Value : State::Text;
            reset_value();
            handler.on_data_end(command);
        }
        return;
    }
}

void PclParser::finish(PclHandler& handler) {
    const bool in_data = m_state == State::Data;
    m_state = State::Text;
    if (in_data) {
        handler.on_data_end(m_command);
    }
}

void PclParser::start_sequence(char parameterized) {
    m_command = PclCommand{};
    m_command.parameterized = parameterized;
    reset_value();
    m_state = State::Group;
}

void PclParser::reset_value() {
    m_whole = 0;
    m_fraction = 0;
    m_fraction_scale = 1;
    m_digits = 0;
    m_in_fraction = false;
    m_negative = false;
    m_command.has_value = false;
    m_command.has_sign = false;
}

void PclParser::take_value_byte(unsigned char byte, PclHandler& handler) {
    if (is_terminator(byte) || is_group(byte)) {
        end_value(static_cast<char>(byte), handler);
        return;
    }
    if (!is_value_byte(byte)) {
        // A sequence broken off: a new one may begin with this byte.
        m_state = byte == kEscape ? State::Escape : State::Text;
        return;
    }
    if (byte == '+' || byte == '-') {
        if (m_command.has_value || m_command.has_sign || m_in_fraction) {
            m_state = State::Text;
            return;
        }
        m_command.has_sign = true;
        m_negative = byte == '-';
    } else if (byte == '.') {
        m_in_fraction = true;
    } else if (m_digits < kMostDigits) {
        ++m_digits;
        m_command.has_value = true;
        const int digit = byte - '0';
        if (m_in_fraction) {
            m_fraction = m_fraction * 10 + digit;
            m_fraction_scale *= 10;
        } else {
            m_whole = m_whole * 10 + digit;
        }
    }
}

void PclParser::end_value(char letter, PclHandler& handler) {
    const bool combining = letter >= '`';
    const double magnitude =
        static_cast<double>(m_whole) +
        static_cast<double>(m_fraction) / static_cast<double>(m_fraction_scale);
    m_command.value = m_negative ? -magnitude : magnitude;
    m_command.terminator = static_cast<char>(combining ? letter - ('`' - '@') : letter);
    m_command.data_count = 0;
    const bool data = carries_data(m_command);
    if (data) {
        m_command.data_count = static_cast<std::uint32_t>(
            std::clamp(m_command.value, 0.0, static_cast<double>(kMostData)));
    }
    m_combining = combining;
    if (m_command.data_count > 0) {
        m_data_left = m_command.data_count;
        m_state = State::Data;
    } else {
        m_state = combining ? State::Value : State::Text;
    }
    const PclCommand command = m_command;
    if (m_state == State::Value) {
        reset_value();
    }
    handler.on_command(command);
    if (data && command.data_count == 0) {
        handler.on_data_end(command);
    }
}

} // namespace kvalon
