#include "tests/support/recording_surface.h"

#include <charconv>
#include <cmath>

namespace kvalon::testing {

namespace {
constexpr double kMmPerPoint = 25.4 / 72;

// A4 and Letter in twips, for the codes the tests switch to.
void paper_twips(int code, double& width, double& height) {
    if (code == 9) {
        width = 11906;
        height = 16838;
    } else if (code == 1) {
        width = 12240;
        height = 15840;
    } else if (code == 8) {
        width = 16838;
        height = 23811;
    }
}
} // namespace

std::string two_decimals(double value) {
    char buffer[64];
    if (std::fabs(value) < 0.005) {
        value = 0;
    }
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::size_t code_points(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

double RecordingSurface::width_twips() const {
    return m_orientation == kLandscape ? paper_height_twips : paper_width_twips;
}

double RecordingSurface::height_twips() const {
    return m_orientation == kLandscape ? paper_width_twips : paper_height_twips;
}

void RecordingSurface::set_paper_size(int windows_code) {
    paper_code = windows_code;
    paper_twips(windows_code, paper_width_twips, paper_height_twips);
}

void RecordingSurface::set_font_size(float points) {
    m_points =
        size_step > 0 ? static_cast<float>(std::round(points / size_step) * size_step) : points;
}

float RecordingSurface::text_width(std::string_view utf8) {
    ++text_width_calls;
    return static_cast<float>(static_cast<double>(code_points(utf8)) * advance_em * m_points *
                              kMmPerPoint);
}

float RecordingSurface::text_height(std::string_view utf8) {
    std::size_t lines = 1;
    for (auto at = utf8.find("\r\n"); at != std::string_view::npos;
         at = utf8.find("\r\n", at + 2)) {
        ++lines;
    }
    return static_cast<float>(static_cast<double>(lines) * line_em * m_points * kMmPerPoint);
}

void RecordingSurface::line(float x1, float y1, float x2, float y2) {
    log.push_back("Line " + two_decimals(x1) + " " + two_decimals(y1) + " " + two_decimals(x2) +
                  " " + two_decimals(y2) + " w=" + std::to_string(m_draw_width));
    m_document_open = true;
    m_marked = true;
    m_page_ended = false;
    m_x = x2;
    m_y = y2;
}

void RecordingSurface::fill_rect(float x, float y, float width, float height, int grey) {
    log.push_back("Fill " + two_decimals(x) + " " + two_decimals(y) + " " + two_decimals(width) +
                  " " + two_decimals(height) + " grey=" + std::to_string(grey));
    m_document_open = true;
    m_page_ended = false;
    m_marked = true;
}

void RecordingSurface::draw_image(float x, float y, float width, float height,
                                  const BitImage& dots) {
    int count = 0;
    for (int row = 0; row < dots.rows(); ++row) {
        for (int column = 0; column < dots.columns(); ++column) {
            count += dots.dot(column, row) ? 1 : 0;
        }
    }
    log.push_back("Image " + two_decimals(x) + " " + two_decimals(y) + " " + two_decimals(width) +
                  " " + two_decimals(height) + " cols=" + std::to_string(dots.columns()) +
                  " rows=" + std::to_string(dots.rows()) + " dots=" + std::to_string(count));
    m_document_open = true;
    m_page_ended = false;
    m_marked = m_marked || count > 0;
}

void RecordingSurface::print(std::string_view utf8, bool line_break) {
    log.push_back("Print x=" + two_decimals(m_x) + " y=" + two_decimals(m_y) + " \"" +
                  std::string(utf8) + "\" bold=" + (m_bold ? "1" : "0") +
                  (m_italic ? " italic=1" : "") +
                  (m_width_scale != 1 ? " wide=" + two_decimals(m_width_scale) : "") +
                  (line_break ? " nl" : ""));
    m_document_open = true;
    m_page_ended = false;
    m_marked = m_marked || utf8.find_first_not_of(' ') != std::string_view::npos;
    m_x += text_width(utf8);
    --text_width_calls;
    if (line_break) {
        m_x = 0;
        m_y += text_height("");
    }
}

void RecordingSurface::new_page() {
    log.emplace_back("NewPage");
    m_document_open = true;
    m_page_ended = true;
    m_ended_x = m_x;
    m_ended_y = m_y;
    m_x = 0;
    m_y = 0;
}

bool RecordingSurface::return_to_last_page() {
    if (!m_page_ended) {
        return false;
    }
    log.emplace_back("ReturnToLastPage");
    m_page_ended = false;
    m_x = m_ended_x;
    m_y = m_ended_y;
    return true;
}

void RecordingSurface::end_doc() {
    log.emplace_back("EndDoc");
    m_last_blank = !m_marked;
    m_marked = false;
    m_document_open = false;
    m_page_ended = false;
    m_x = 0;
    m_y = 0;
}

void RecordingSurface::finish_document() {
    if (m_document_open) {
        log.emplace_back("FinishDocument");
        end_doc();
    }
}

void RecordingSurface::abandon_document() noexcept {
    if (m_document_open) {
        log.emplace_back("AbandonDocument");
        m_document_open = false;
        m_page_ended = false;
    }
}

std::string RecordingSurface::font(int index) const {
    return index >= 0 && index < font_count() ? fonts[static_cast<std::size_t>(index)]
                                              : std::string();
}

std::string RecordingSurface::joined_log() const {
    std::string text;
    for (const std::string& entry : log) {
        text += entry;
        text += '\n';
    }
    return text;
}

} // namespace kvalon::testing
