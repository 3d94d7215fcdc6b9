#include "engine/escp/epson_report_rule.h"

#include "engine/escp/escp_parser.h"
#include "engine/source_file.h"

#include <string_view>

namespace kvalon {

namespace {
constexpr std::size_t kLookedAt = std::size_t{1} << 20;

// ESC 0 1 2 3 A + (line spacing), J (feed), C (form length), $ \ (moves),
// l Q (margins), D B (tab stops).
constexpr std::string_view kLayoutCodes = "0123A+JC$\\lQDB";
// ESC ( C c (page length, page format), V v (vertical moves).
constexpr std::string_view kLayoutExtendedCodes = "CcVv";

class LayoutWatch final : public EscpHandler {
public:
    void on_text(unsigned char) override {}
    void on_command(const EscpCommand& command) override {
        if (command.code == '(') {
            m_layout =
                m_layout || kLayoutExtendedCodes.find(static_cast<char>(command.parameter(0))) !=
                                std::string_view::npos;
            return;
        }
        m_layout = m_layout ||
                   kLayoutCodes.find(static_cast<char>(command.code)) != std::string_view::npos;
    }
    void on_graphics_start(const EscpCommand&) override { m_in_image = true; }
    void on_graphics_byte(unsigned char) override {}
    // A bit image cut short by the end of what was read is not one: its
    // length read from letters of a text report reaches past the file.
    void on_graphics_end() override {
        m_layout = m_layout || (m_in_image && !m_ending);
        m_in_image = false;
    }
    unsigned graphics_mode(unsigned char) const override { return 0; }

    void ending() { m_ending = true; }
    bool layout() const { return m_layout; }

private:
    bool m_layout = false;
    bool m_in_image = false;
    bool m_ending = false;
};
} // namespace

bool reads_as_epson(std::string_view bytes) {
    LayoutWatch watch;
    EscpParser parser(watch);
    for (const char byte : bytes) {
        parser.take(static_cast<unsigned char>(byte));
        if (watch.layout()) {
            return true;
        }
    }
    watch.ending();
    parser.finish();
    return watch.layout();
}

bool report_reads_as_epson(const std::string& path) {
    return reads_as_epson(read_head(source_file().inputs(), path, kLookedAt));
}

} // namespace kvalon
