#include "printing/spooler/win32_gdi_document.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/spooler/win32_device.h"
#include "printing/spooler/win32_text.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>
#include <windows.h>

namespace kvalon {

namespace {

struct MonochromeInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

// The dots of a bit image in rows of whole 32-bit words, as DIBs keep them.
std::vector<BYTE> dib_rows(const BitImage& dots, std::size_t& stride) {
    stride = (static_cast<std::size_t>(dots.columns()) + 31) / 32 * 4;
    std::vector<BYTE> rows(stride * static_cast<std::size_t>(dots.rows()), 0);
    for (int row = 0; row < dots.rows(); ++row) {
        const std::uint8_t* bits = dots.row_bits(row);
        std::copy(bits, bits + dots.stride(), rows.begin() + static_cast<long>(stride) * row);
    }
    return rows;
}

class GdiDocument final : public SpoolerDocument, public GdiCanvas {
public:
    GdiDocument(const SpoolerDocumentRequest& request, HDC dc)
        : m_printer(request.printer), m_dc(dc), m_area(device_area(dc)) {
        const std::wstring title = wide_of(request.title);
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = title.c_str();
        m_job = ::StartDocW(m_dc, &info);
        if (m_job <= 0) {
            const std::string why = last_error_words();
            ::DeleteDC(m_dc);
            throw KvalonError(ErrorKind::Printer, m_printer,
                              messages::kDocumentNotStarted + ": " + why);
        }
        ::SetBkMode(m_dc, TRANSPARENT);
        ::SetTextAlign(m_dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        ::SetTextColor(m_dc, 0);
    }
    ~GdiDocument() override {
        abort();
        ::SelectObject(m_dc, ::GetStockObject(BLACK_PEN));
        ::SelectObject(m_dc, ::GetStockObject(SYSTEM_FONT));
        for (const auto& [font, handle] : m_fonts) {
            ::DeleteObject(handle);
        }
        for (const auto& [width, pen] : m_pens) {
            ::DeleteObject(pen);
        }
        ::DeleteDC(m_dc);
    }
    GdiDocument(const GdiDocument&) = delete;
    GdiDocument& operator=(const GdiDocument&) = delete;

    const DeviceArea& area() const override { return m_area; }

    GdiCanvas& start_page() override {
        if (::StartPage(m_dc) <= 0) {
            fail(messages::kPageNotStarted);
        }
        return *this;
    }
    void end_page() override {
        if (::EndPage(m_dc) <= 0) {
            fail(messages::kDocumentIncomplete);
        }
    }
    int end_document() override {
        if (::EndDoc(m_dc) <= 0) {
            fail(messages::kDocumentNotEnded);
        }
        m_ended = true;
        return m_job;
    }
    void abort() noexcept override {
        if (!m_ended) {
            ::AbortDoc(m_dc);
            m_ended = true;
        }
    }

    void fill(int left, int top, int right, int bottom, int grey) override {
        const auto level = static_cast<COLORREF>(grey & 0xFF);
        HBRUSH brush = ::CreateSolidBrush(level | level << 8 | level << 16);
        const RECT rect{left, top, right, bottom};
        ::FillRect(m_dc, &rect, brush);
        ::DeleteObject(brush);
    }

    // Black dots ANDed onto the page: the clear ones (white) leave it as it is.
    void stretch_image(int left, int top, int width, int height, const BitImage& dots) override {
        if (dots.columns() == 0 || dots.rows() == 0) {
            return;
        }
        std::size_t stride = 0;
        const std::vector<BYTE> rows = dib_rows(dots, stride);
        MonochromeInfo info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = dots.columns();
        info.header.biHeight = -dots.rows(); // top row first
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.header.biCompression = BI_RGB;
        info.colours[0] = RGBQUAD{255, 255, 255, 0};
        info.colours[1] = RGBQUAD{0, 0, 0, 0};
        ::StretchDIBits(m_dc, left, top, width, height, 0, 0, dots.columns(), dots.rows(),
                        rows.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                        SRCAND);
    }

    void text(const GdiFont& font, int x, int baseline, const std::u16string& characters,
              const std::vector<int>& advances) override {
        ::SelectObject(m_dc, font_for(font));
        std::vector<INT> dx(advances.begin(), advances.end());
        ::ExtTextOutW(m_dc, x, baseline, 0, nullptr,
                      reinterpret_cast<const wchar_t*>(characters.data()),
                      static_cast<UINT>(characters.size()), dx.data());
    }

    void line(int x1, int y1, int x2, int y2, int width) override {
        ::SelectObject(m_dc, pen_for(width));
        ::MoveToEx(m_dc, x1, y1, nullptr);
        ::LineTo(m_dc, x2, y2);
    }

private:
    [[noreturn]] void fail(const std::string& reason) {
        const std::string why = last_error_words();
        abort();
        throw KvalonError(ErrorKind::Printer, m_printer, reason + ": " + why);
    }

    HFONT font_for(const GdiFont& font) {
        const auto key =
            std::make_tuple(font.family, font.em_pixels, font.width_pixels, font.bold, font.italic);
        if (const auto found = m_fonts.find(key); found != m_fonts.end()) {
            return found->second;
        }
        const std::wstring family = wide_of(font.family);
        HFONT handle = ::CreateFontW(
            -font.em_pixels, font.width_pixels, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
            font.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, family.c_str());
        m_fonts.emplace(key, handle);
        return handle;
    }

    HPEN pen_for(int width) {
        if (const auto found = m_pens.find(width); found != m_pens.end()) {
            return found->second;
        }
        const LOGBRUSH black{BS_SOLID, 0, 0};
        HPEN pen = ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                  static_cast<DWORD>(width), &black, 0, nullptr);
        m_pens.emplace(width, pen);
        return pen;
    }

    std::string m_printer;
    HDC m_dc;
    DeviceArea m_area;
    int m_job = 0;
    bool m_ended = false;
    std::map<std::tuple<std::string, int, int, bool, bool>, HFONT> m_fonts;
    std::map<int, HPEN> m_pens;
};

} // namespace

std::unique_ptr<SpoolerDocument> start_gdi_document(const SpoolerDocumentRequest& request) {
    load_program_font();
    JobDevmode devmode = printer_devmode(request.printer);
    devmode.set(request);
    const std::wstring printer = wide_of(request.printer);
    HDC dc = ::CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, devmode.get());
    if (dc == nullptr) {
        throw KvalonError(ErrorKind::Printer, request.printer,
                          messages::kDocumentNotStarted + ": " + last_error_words());
    }
    return std::make_unique<GdiDocument>(request, dc);
}

} // namespace kvalon
