#pragma once

#include "engine/printer_surface.h"
#include "printing/document_sink.h"

#include <functional>
#include <memory>
#include <string>

namespace kvalon {

class HeldDocumentSink;

// The PDF printer's document while a preview is open: every page printed from
// the preview, by whatever button, goes into it in the order it was printed.
// The pages go into the file as they are printed (`file`, the sink writing
// `path`); the file takes the place of `path` only when finish() completes
// it. Made on the current printer's paper and faces; dropped unfinished,
// nothing of it stays.
class PreviewDocument {
public:
    PreviewDocument(std::unique_ptr<DocumentSink> file, std::string path, const std::string& title);
    ~PreviewDocument();
    PreviewDocument(const PreviewDocument&) = delete;
    PreviewDocument& operator=(const PreviewDocument&) = delete;

    const std::string& path() const { return m_path; }
    int pages() const;

    // Runs `draw` with printer() bound to the document; printer() is the
    // current printer again afterwards. A report's last page ends with its
    // footer as print_page() draws it; the document stays open for more.
    // Throws KvalonError when the file cannot take the pages: the document is
    // then dropped, nothing of it written.
    void print(const std::function<void()>& draw);
    // Completes the file: the footer goes under its last page unless that
    // page has one. Throws KvalonError when the file is not written whole.
    void finish();

private:
    std::string m_path;
    HeldDocumentSink* m_sink = nullptr; // owned by the surface
    std::unique_ptr<PrinterSurface> m_surface;
};

} // namespace kvalon
