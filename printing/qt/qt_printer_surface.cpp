#include "printing/qt/qt_printer_surface.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/print_job.h"
#include "printing/qt/cups_job_check.h"
#include "printing/qt/paper_sizes.h"
#include "printing/qt/pdf_output.h"
#include "printing/qt/stroke_merging.h"
#include "printing/qt/utf8_walk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kvalon {

namespace {

constexpr int kPdfResolution = 600;
constexpr double kMmPerInch = 25.4;
constexpr double kTwipsPerInch = 1440;
constexpr double kPointsPerInch = 72;

constexpr char32_t kTableLimit = 0x2600;

double twips_of(double mm) {
    return std::round(mm * kTwipsPerInch / kMmPerInch);
}

} // namespace

QtPrinterSurface::QtPrinterSurface(const PrinterTarget& target)
    : m_target(target), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (target.kind == PrinterTarget::Kind::Pdf) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setResolution(kPdfResolution);
        m_printer->setFullPage(true);
        m_paper_code = target.paper_code;
        m_printer->setPageSize(page_size_for_code(m_paper_code));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(target.queue));
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        // Qt starts every queue on A4; the queue's own paper is what the user set up.
        const QPageSize queue_paper = info.defaultPageSize();
        if (queue_paper.isValid()) {
            m_printer->setPageSize(queue_paper);
        }
        m_paper_code = code_for_page_size(m_printer->pageLayout().pageSize());
    }
    m_printer->setCopyCount(target.copies > 0 ? target.copies : 1);
    m_resolution = m_printer->resolution();
}

// Pages printed from the preview before it was closed are still handed over
// when the program ends; a job that failed has abandoned its document first.
QtPrinterSurface::~QtPrinterSurface() {
    try {
        hand_over_open_document();
    } catch (...) {
        // Nothing more can be told at this point; the caller that cared has
        // already called hand_over_open_document() itself.
    }
    discard_document();
}

void QtPrinterSurface::set_scale_mode(int) {
    // Millimetres are the only scale the program uses.
}

double QtPrinterSurface::width_twips() const {
    return twips_of(m_printer->pageLayout().fullRect(QPageLayout::Millimeter).width());
}

double QtPrinterSurface::height_twips() const {
    return twips_of(m_printer->pageLayout().fullRect(QPageLayout::Millimeter).height());
}

int QtPrinterSurface::paper_size() const {
    return m_paper_code;
}

void QtPrinterSurface::set_paper_size(int windows_code) {
    const QPageSize size = page_size_for_code(windows_code);
    if (size.isValid()) {
        m_printer->setPageSize(size);
        m_paper_code = windows_code;
    }
}

int QtPrinterSurface::orientation() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
}

void QtPrinterSurface::set_orientation(int orientation) {
    const auto wanted = orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (m_printer->pageLayout().orientation() != wanted) {
        m_printer->setPageOrientation(wanted);
    }
}

// The face of the current settings is looked up once after a change, not for
// every character.
void QtPrinterSurface::set_font_name(const std::string& face) {
    if (face != m_face) {
        m_face = face;
        m_current_face = nullptr;
    }
}

void QtPrinterSurface::set_font_size(float points) {
    if (points != m_points) {
        m_points = points;
        m_current_face = nullptr;
    }
}

int QtPrinterSurface::resolution() const {
    return m_resolution;
}

// Fonts are set in whole device pixels; the size read back is the one used.
int QtPrinterSurface::pixel_size() const {
    const int pixels = static_cast<int>(std::lround(m_points * resolution() / kPointsPerInch));
    return pixels > 0 ? pixels : 1;
}

float QtPrinterSurface::font_size() const {
    return static_cast<float>(pixel_size() * kPointsPerInch / resolution());
}

void QtPrinterSurface::set_font_bold(bool bold) {
    if (bold != m_bold) {
        m_bold = bold;
        m_current_face = nullptr;
    }
}

bool QtPrinterSurface::font_bold() const {
    return m_bold;
}

double QtPrinterSurface::to_px(float mm) const {
    return mm * resolution() / kMmPerInch;
}

float QtPrinterSurface::to_mm(double px) const {
    return static_cast<float>(px * kMmPerInch / resolution());
}

QtPrinterSurface::FaceMetrics& QtPrinterSurface::metrics() {
    const FaceKey key{m_face, pixel_size(), m_bold};
    if (m_current_face != nullptr) {
        return *m_current_face;
    }
    auto found = m_metrics.find(key);
    if (found != m_metrics.end()) {
        m_current_face = &found->second;
        return found->second;
    }
    FaceMetrics face;
    face.font = QFont(QString::fromStdString(m_face));
    face.font.setStyleHint(QFont::TypeWriter);
    face.font.setPixelSize(pixel_size());
    face.font.setBold(m_bold);
    face.font.setKerning(false);
    const QFontMetricsF measured(face.font, m_printer.get());
    face.ascent_px = measured.ascent();
    face.line_spacing_px = measured.lineSpacing();
    face.raw = QRawFont::fromFont(face.font);
    face.table.resize(kTableLimit);
    face.known.resize(kTableLimit);
    m_current_face = &m_metrics.emplace(key, std::move(face)).first->second;
    return *m_current_face;
}

const std::pair<quint32, double>& QtPrinterSurface::glyph(FaceMetrics& face, char32_t code_point) {
    if (code_point < kTableLimit && face.known[code_point]) {
        return face.table[code_point];
    }
    if (auto found = face.others.find(code_point); found != face.others.end()) {
        return found->second;
    }
    const QString text = QString::fromUcs4(&code_point, 1);
    quint32 index = 0;
    double advance = 0;
    const QList<quint32> indexes = face.raw.glyphIndexesForString(text);
    if (!indexes.isEmpty()) {
        index = indexes.front();
        const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(indexes);
        advance = advances.isEmpty() ? 0 : advances.front().x();
    }
    if (code_point < kTableLimit) {
        face.known[code_point] = true;
        face.table[code_point] = {index, advance};
        return face.table[code_point];
    }
    return face.others.emplace(code_point, std::make_pair(index, advance)).first->second;
}

float QtPrinterSurface::text_width(std::string_view utf8) {
    FaceMetrics& face = metrics();
    double widest = 0;
    double width = 0;
    for_each_code_point(utf8, [&](char32_t c) {
        if (c == U'\r' || c == U'\n') {
            width = 0;
            return;
        }
        width += glyph(face, c).second;
        widest = std::max(widest, width);
    });
    return to_mm(widest);
}

float QtPrinterSurface::text_height(std::string_view utf8) {
    std::size_t lines = 1;
    for (std::size_t at = utf8.find("\r\n"); at != std::string_view::npos;
         at = utf8.find("\r\n", at + 2)) {
        ++lines;
    }
    return to_mm(static_cast<double>(lines) * metrics().line_spacing_px);
}

// A failing PDF printer is a file that cannot be written; the user is told
// which file and, where the system knows it, why.
void QtPrinterSurface::fail(const std::string& what) {
    if (m_target.kind == PrinterTarget::Kind::Pdf) {
        const QString folder = QFileInfo(m_part_path).absolutePath();
        throw KvalonError(ErrorKind::FileWrite, m_target.pdf_path,
                          write_failure_reason(folder.toStdString(), what));
    }
    throw KvalonError(ErrorKind::Printer, m_target.queue, what);
}

// The PDF goes to a hidden file beside the target, renamed over it when
// complete. A device or pipe as target (/dev/stdout) cannot be renamed over:
// the document is then made in the temporary folder and copied through.
void QtPrinterSurface::choose_part_path() {
    const std::string& path = m_target.pdf_path;
    m_stream_target = is_stream_target(path);
    if (m_stream_target) {
        std::string temporary = QDir::tempPath().toStdString() + "/kvalon-p-XXXXXX";
        const int descriptor = ::mkstemp(temporary.data());
        if (descriptor < 0) {
            throw KvalonError(ErrorKind::FileWrite, temporary, system_reason(errno));
        }
        ::close(descriptor);
        m_part_path = QString::fromStdString(temporary);
        return;
    }
    const QFileInfo target(QString::fromStdString(path));
    if (target.isDir()) {
        throw KvalonError(ErrorKind::FileWrite, path, system_reason(EISDIR));
    }
    m_part_path =
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".part");
    // Qt only says that it could not begin; the system says why.
    const int probe =
        ::open(m_part_path.toStdString().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (probe < 0) {
        const int reason = errno;
        m_part_path.clear();
        throw KvalonError(ErrorKind::FileWrite, path, system_reason(reason));
    }
    ::close(probe);
}

void QtPrinterSurface::begin_document() {
    if (m_painter.isActive()) {
        return;
    }
    if (m_target.kind == PrinterTarget::Kind::Pdf) {
        choose_part_path();
        m_printer->setOutputFileName(m_part_path);
    } else {
        check_queue();
    }
    // Queues and spool folders show the report's own name.
    const std::string source = std::filesystem::path(job().SourcePath).filename().string();
    m_printer->setDocName(QStringLiteral("Kvalon-P ") + QString::fromStdString(source));
    if (!m_painter.begin(m_printer.get())) {
        fail(messages::kDocumentNotStarted);
    }
    reset_position();
}

void QtPrinterSurface::begin_output() {
    begin_document();
    if (m_page_pending) {
        m_page_pending = false;
        if (!m_printer->newPage()) {
            fail(messages::kPageNotStarted);
        }
    }
}

void QtPrinterSurface::reset_position() {
    m_x = 0;
    m_y = 0;
}

void QtPrinterSurface::line(float x1, float y1, float x2, float y2) {
    begin_output();
    m_strokes[m_draw_width].emplace_back(to_px(x1), to_px(y1), to_px(x2), to_px(y2));
    m_x = x2;
    m_y = y2;
}

void QtPrinterSurface::fill_rect(float x, float y, float width, float height, int grey) {
    begin_output();
    const auto left = static_cast<int>(std::lround(to_px(x)));
    const auto top = static_cast<int>(std::lround(to_px(y)));
    const auto right = static_cast<int>(std::lround(to_px(x + width)));
    const auto bottom = static_cast<int>(std::lround(to_px(y + height)));
    m_painter.fillRect(QRect(left, top, right - left, bottom - top), QColor(grey, grey, grey));
}

void QtPrinterSurface::print(std::string_view utf8, bool line_break) {
    begin_output();
    FaceMetrics& face = metrics();
    double x_px = to_px(m_x);
    const double baseline_px = to_px(m_y) + face.ascent_px;
    if (!utf8.empty()) {
        for_each_code_point(utf8, [&](char32_t c) {
            const auto& [index, advance] = glyph(face, c);
            if (c != U' ') {
                face.page_glyphs.push_back(index);
                face.page_positions.emplace_back(x_px, baseline_px);
            }
            x_px += advance;
        });
    }
    m_x = to_mm(x_px);
    if (line_break) {
        m_x = 0;
        m_y += to_mm(face.line_spacing_px);
    }
}

void QtPrinterSurface::flush_strokes() {
    for (auto& [width, strokes] : m_strokes) {
        QPen pen(Qt::black);
        pen.setWidthF(width);
        pen.setCapStyle(Qt::SquareCap);
        m_painter.setPen(pen);
        const std::vector<QLineF> merged = merge_collinear(strokes);
        m_painter.drawLines(merged.data(), static_cast<int>(merged.size()));
    }
    m_strokes.clear();
}

void QtPrinterSurface::flush_page() {
    m_painter.setPen(Qt::black);
    for (auto& [key, face] : m_metrics) {
        if (face.page_glyphs.empty()) {
            continue;
        }
        QGlyphRun run;
        run.setRawFont(face.raw);
        run.setGlyphIndexes(QList<quint32>(face.page_glyphs.begin(), face.page_glyphs.end()));
        run.setPositions(QList<QPointF>(face.page_positions.begin(), face.page_positions.end()));
        m_painter.drawGlyphRun(QPointF(0, 0), run);
        face.page_glyphs.clear();
        face.page_positions.clear();
    }
    flush_strokes();
}

void QtPrinterSurface::new_page() {
    begin_output();
    flush_page();
    m_page_pending = true;
    reset_position();
}

void QtPrinterSurface::end_doc() {
    begin_document();
    flush_page();
    m_page_pending = false;
    if (!m_painter.end() || m_printer->printerState() == QPrinter::Error) {
        fail(messages::kDocumentNotEnded);
    }
    reset_position();
    if (m_target.kind == PrinterTarget::Kind::Pdf) {
        put_pdf_in_place();
    } else {
        confirm_job_taken();
    }
}

// A stopped or vanished queue would take the document silently or drop it.
void QtPrinterSurface::check_queue() {
    if (const std::optional<std::string> refusal = queue_refusal(m_target.queue)) {
        fail(refusal->c_str());
    }
    m_jobs_before = newest_job_id(m_target.queue).value_or(0);
}

// Qt hands the document to CUPS without saying whether it was taken.
void QtPrinterSurface::confirm_job_taken() {
    const std::string title = m_printer->docName().toStdString();
    if (const auto refusal = job_refusal(m_target.queue, m_jobs_before, title)) {
        fail(refusal->c_str());
    }
}

// Only a PDF proved whole replaces the target; a failed one is removed.
void QtPrinterSurface::put_pdf_in_place() {
    const std::string part = m_part_path.toStdString();
    const std::string& target = m_target.pdf_path;
    if (!pdf_is_complete(part) || !synced(part)) {
        fail(messages::kDocumentIncomplete);
    }
    if (m_stream_target) {
        copy_to_stream(part, target);
    } else if (std::rename(part.c_str(), target.c_str()) != 0) {
        const int reason = errno;
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(reason));
    }
    std::remove(part.c_str());
    m_part_path.clear();
}

// The rename must not reach the disk before the content does.
bool QtPrinterSurface::synced(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool done = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && done;
}

void QtPrinterSurface::hand_over_open_document() {
    if (m_painter.isActive()) {
        end_doc();
    }
}

void QtPrinterSurface::abandon_document() {
    discard_document();
}

void QtPrinterSurface::discard_document() {
    if (m_painter.isActive()) {
        m_printer->abort();
        m_painter.end();
    }
    if (!m_part_path.isEmpty()) {
        QFile::remove(m_part_path);
        m_part_path.clear();
    }
}

// The list is taken afresh when it is counted and read from that copy by
// index, so a walk over all faces asks the font database once, not once a face.
int QtPrinterSurface::font_count() const {
    m_families = QFontDatabase::families();
    return static_cast<int>(m_families.size());
}

std::string QtPrinterSurface::font(int index) const {
    if (m_families.isEmpty()) {
        m_families = QFontDatabase::families();
    }
    if (index < 0 || index >= m_families.size()) {
        return {};
    }
    return m_families.at(index).toStdString();
}

std::string QtPrinterSurface::device_name() const {
    if (m_target.kind == PrinterTarget::Kind::Pdf) {
        return "PDF: " + m_target.pdf_path;
    }
    return m_target.queue;
}

} // namespace kvalon
