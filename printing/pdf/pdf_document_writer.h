#pragma once

#include "printing/document_sink.h"
#include "printing/page_description.h"
#include "printing/pdf/byte_output.h"
#include "printing/pdf/deflater.h"
#include "printing/pdf/font_source.h"
#include "printing/pdf/page_content.h"
#include "printing/pdf/pdf_object_writer.h"

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

class PdfFont;

// A PDF document written as its pages come: each page's content goes out
// compressed as soon as the page is added; the fonts, the page tree and the
// cross-reference table follow at the end. Of a written page only its object
// number and the glyphs it used are kept, so memory does not grow with the
// page count.
class PdfDocumentWriter {
public:
    // The deflate level for the page contents; chosen by measurement (make bench).
    // Level 0 leaves page contents uncompressed: a file four times larger,
    // which a print queue's first filter reads in half the time.
    static constexpr int kDefaultDeflateLevel = 1;

    PdfDocumentWriter(ByteOutput& out, const FontSource& fonts,
                      int deflate_level = kDefaultDeflateLevel);
    ~PdfDocumentWriter();
    PdfDocumentWriter(const PdfDocumentWriter&) = delete;
    PdfDocumentWriter& operator=(const PdfDocumentWriter&) = delete;

    // Writes the header and the information dictionary. Throws KvalonError.
    // More than one copy: the pages follow again, as often as asked, sharing
    // their contents with the first copy (collated, a few bytes a page).
    void begin(const DocumentInfo& info);
    // Writes one page. Throws KvalonError.
    void add_page(const PageDescription& page);
    // Writes the fonts, the page tree, the catalog and the trailer, and
    // flushes the output. Throws KvalonError.
    void finish();

private:
    struct EmbeddedFont;
    std::vector<ShownFace>& shown_faces(const PageDescription& page);
    ShownFace shown_face(const PageFace& face, int dpi);
    EmbeddedFont& font_for(const std::string& family, bool bold);
    std::string page_object(const PageDescription& page, int contents) const;
    std::string document_id() const;

    ByteOutput& m_out;
    const FontSource& m_fonts;
    PdfObjectWriter m_objects;
    Deflater m_deflater;
    bool m_compress_pages;
    PageContent m_content;
    std::vector<std::unique_ptr<EmbeddedFont>> m_embedded;
    std::vector<PageFace> m_page_faces; // of the page written last
    int m_page_dpi = 0;
    std::vector<ShownFace> m_faces; // the same, as shown
    std::vector<int> m_pages;       // object numbers
    int m_copies = 1;
    std::vector<std::string> m_page_bodies; // kept only for further copies
    int m_catalog = 0;
    int m_page_tree = 0;
    int m_info = 0;
    std::string m_info_text; // for the document's identifier
};

} // namespace kvalon
