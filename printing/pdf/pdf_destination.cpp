#include "printing/pdf/pdf_destination.h"

#include "engine/paper_codes.h"
#include "engine/units.h"
#include "platform/path_text.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/pdf/face_file_font_source.h"
#include "printing/pdf/pdf_document_pass.h"
#include "printing/pdf/pdf_file_sink.h"
#include "printing/program_font.h"

#include <charconv>
#include <filesystem>

namespace kvalon {

namespace {

constexpr const char* kKind = "pdf";
constexpr const char* kPathField = "pdf";
constexpr const char* kPaperField = "paper";

// A code without a sheet of its own draws on A4, as the PDF printer does.
PaperPoints paper_points_of(int paper_code) {
    PaperSize paper = paper_for_code(paper_code);
    if (!paper.is_valid()) {
        paper = paper_for_code(PaperA4);
    }
    return PaperPoints{static_cast<double>(paper.width_points),
                       static_cast<double>(paper.height_points)};
}

bool folder_exists_for(const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::absolute(path_of(path), error).parent_path();
    return !error && std::filesystem::is_directory(folder, error);
}

} // namespace

PdfDestination::PdfDestination(std::string path, int paper_code, int copies)
    : m_path(std::move(path)), m_paper_code(paper_code), m_copies(copies) {}

std::string PdfDestination::name() const {
    return "PDF: " + m_path;
}

SurfaceSetup PdfDestination::surface_setup() const {
    SurfaceSetup setup;
    setup.paper = paper_for_code(m_paper_code);
    setup.paper_code = m_paper_code;
    setup.resolution = DrawingDpi;
    setup.device_name = name();
    setup.copies = m_copies;
    return setup;
}

std::unique_ptr<DocumentSink> PdfDestination::make_page_sink(const JobWatch&) const {
    return make_file_sink(m_path);
}

std::unique_ptr<DocumentSink> PdfDestination::make_file_sink(const std::string& path) const {
    return std::make_unique<PdfFileSink>(
        path, std::make_shared<const FaceFileFontSource>(program_faces()));
}

void PdfDestination::pass_document(DocumentKind kind, const std::string& path,
                                   const std::string&) const {
    write_document_as_pdf(kind, path, m_path, paper_points_of(m_paper_code), m_copies);
}

RememberedPrinter PdfDestination::remembered() const {
    return {kKind, {{kPathField, m_path}, {kPaperField, std::to_string(m_paper_code)}}};
}

std::shared_ptr<const Destination> pdf_printer_after(const Destination* bound,
                                                     const std::string& path) {
    if (const auto* pdf = dynamic_cast<const PdfDestination*>(bound)) {
        return std::make_shared<PdfDestination>(path, pdf->paper_code(), pdf->copies());
    }
    return std::make_shared<PdfDestination>(path);
}

std::shared_ptr<const Destination> restore_pdf_printer(const RememberedPrinter& remembered) {
    if (remembered.kind != kKind) {
        return nullptr;
    }
    const auto path = remembered.fields.find(kPathField);
    if (path == remembered.fields.end() || path->second.empty() ||
        !folder_exists_for(path->second)) {
        return nullptr;
    }
    int paper_code = PaperA4;
    if (const auto paper = remembered.fields.find(kPaperField); paper != remembered.fields.end()) {
        const std::string& text = paper->second;
        std::from_chars(text.data(), text.data() + text.size(), paper_code);
    }
    return std::make_shared<PdfDestination>(path->second, paper_code);
}

} // namespace kvalon
