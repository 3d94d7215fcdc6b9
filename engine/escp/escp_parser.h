#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvalon {

// One ESC sequence of ESC/P or ESC/P 2, read whole.
struct EscpCommand {
    unsigned char code = 0; // the byte after ESC
    std::array<unsigned char, 6> parameters{};
    std::size_t count = 0; // parameter bytes read
    // The stops of ESC D, ESC B and ESC b; the data of ESC ( (its first
    // kKeptData bytes).
    std::vector<unsigned char> list;

    static constexpr std::size_t kKeptData = 16;

    unsigned parameter(std::size_t index) const { return index < count ? parameters[index] : 0; }
    // nL nH at `index`: a count or a distance of two bytes.
    unsigned word_at(std::size_t index) const {
        return parameter(index) + 256 * parameter(index + 1);
    }
};

// The bytes one column of dots takes in the ESC * density `mode`: one for the
// 8-dot densities, three for the 24-dot ones, six for the 48-dot ones.
unsigned escp_bytes_per_column(unsigned mode);

// What the parser finds in a report, in the order of its bytes.
class EscpHandler {
public:
    // A byte outside every sequence: a character or a control byte.
    virtual void on_text(unsigned char byte) = 0;
    // A whole sequence that carries no dots.
    virtual void on_command(const EscpCommand& command) = 0;
    // ESC K, L, Y, Z, *, ^ and ESC . with their parameters; their dot data
    // follows, run-length data already expanded, and then the end, also when
    // the report ends inside the data.
    virtual void on_graphics_start(const EscpCommand& command) = 0;
    virtual void on_graphics_byte(unsigned char byte) = 0;
    virtual void on_graphics_end() = 0;
    // The ESC * density that ESC K, L, Y or Z (`command`) prints with now:
    // its bytes per column follow from it.
    virtual unsigned graphics_mode(unsigned char command) const = 0;

protected:
    ~EscpHandler() = default;
};

// Reads a report byte by byte as an Epson-compatible printer reads it: every
// ESC sequence is consumed whole with its parameters and data, by the
// lengths the command summaries of ESC/P (9-pin and 24-pin) and ESC/P 2 give,
// whatever bytes (CR, FF, code 26) its parameters and data hold.
class EscpParser {
public:
    explicit EscpParser(EscpHandler& handler) : m_handler(handler) {}

    void take(unsigned char byte);
    // The report ends: dot data cut short ends where it stands.
    void finish();
    // No sequence is begun and not yet ended.
    bool between_sequences() const { return m_state == State::Text; }

private:
    enum class State {
        Text,
        Command,
        Parameters,
        Skip,
        Keep,
        Graphics,
        TabList,
        RasterCount,
        RasterLiteral,
        RasterRepeat,
        UserCharHeader,
        UserCharData,
    };

    void take_command(unsigned char code);
    void take_parameter(unsigned char byte);
    void parameters_done();
    void start_data(std::uint64_t count);
    void start_graphics(std::uint64_t bytes);
    void start_raster();
    void take_raster(unsigned char byte);
    void graphics_byte(unsigned char byte);
    void take_tab(unsigned char byte);
    void take_user_char_header(unsigned char byte);
    void next_user_char();
    void command_done();

    EscpHandler& m_handler;
    EscpCommand m_command;
    State m_state = State::Text;
    std::size_t m_need = 0;   // parameter bytes the command takes
    std::uint64_t m_left = 0; // data bytes still to come
    unsigned m_tabs_left = 0; // tab stops the list may still hold
    unsigned m_run = 0;       // literal bytes left, or repeats of the next byte
    unsigned m_chars_left = 0;
};

} // namespace kvalon
