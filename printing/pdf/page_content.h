#pragma once

#include "printing/page_description.h"
#include "printing/pdf/image_objects.h"
#include "printing/pdf/shown_face.h"
#include "printing/pdf/text_show.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace kvalon {

class Deflater;
class PdfObjectWriter;

// The content stream of one page: fills as grey rectangles, then pictures as
// one-bit image masks painted black, then the text one
// show per run, the over-printed copies of synthesised bold as glyph shapes,
// then the strokes as one path per pen width. Coordinates are points from the
// bottom-left corner of the media box.
class PageContent {
public:
    // Glyph shapes are written through `out` at their first use.
    PageContent(PdfObjectWriter& out, Deflater& deflater);

    // `faces` parallels page.faces. The result is valid until the next call.
    const std::string& build(const PageDescription& page, std::vector<ShownFace>& faces);
    // The glyph shape forms the page drew, by object number.
    const std::vector<int>& forms() const { return m_forms; }
    // The pictures the page drew, by object number.
    const std::vector<int>& images() const { return m_images; }

private:
    double x_of(double mm) const;
    double y_of(double mm) const;
    void add_point(double x_mm, double y_mm);
    void add_fills(const std::vector<Fill>& fills);
    void add_images(const std::vector<PlacedImage>& images);
    void add_text(const std::vector<TextRun>& runs, std::vector<ShownFace>& faces);
    void add_run(const TextRun& run, ShownFace& face);
    void add_text_matrix(const ShownFace& face, double x, double y);
    void add_bold_copy(const TextRun& run, ShownFace& face);
    void add_strokes(const std::vector<Stroke>& strokes);

    PdfObjectWriter& m_objects;
    Deflater& m_deflater;
    std::string m_out;
    std::string m_copies; // drawn after the text object, where forms may be drawn
    std::vector<int> m_forms;
    std::vector<int> m_images;
    std::unordered_set<int> m_named_images;
    ImageObjects m_image_objects;
    TextShow m_show;
    double m_height_points = 0;
    // The text state in force, so that it is written only when it changes.
    const ShownFace* m_font = nullptr;
    double m_spacing = 0;
    double m_horizontal = 1;
};

} // namespace kvalon
