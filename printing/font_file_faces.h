#pragma once

#include "printing/face_metrics.h"
#include "printing/face_reader.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// The faces of one TrueType file, measured as the printer sets fonts: in
// whole device pixels, each advance from the font's horizontal metrics
// scaled to the pixel size and cut to 1/64 pixel, ascent and descent from its
// horizontal header each rounded to 1/64 pixel, leading likewise. Bold text
// is the same face (the writers make it heavier), so it measures the same.
// The one file serves whatever family is asked for.
//
// The file is the first of `candidates` that holds a TrueType face, looked
// for only when a figure is first needed.
class FontFileFaces final : public FaceSource {
public:
    explicit FontFileFaces(std::vector<std::string> candidates);
    ~FontFileFaces() override;
    FontFileFaces(const FontFileFaces&) = delete;
    FontFileFaces& operator=(const FontFileFaces&) = delete;

    // Throws KvalonError(File) naming the first candidate when none holds a face.
    FaceMetrics& face(const std::string& family, int pixel_size, bool bold) override;
    // The family of the file in use; none when no candidate holds a face.
    std::vector<std::string> families() override;

    // The file in use, its path and its bytes. Throws as face() does.
    const std::string& path();
    std::string_view file_bytes();

private:
    class Face;

    bool load();
    void require();
    int advance_units(char32_t code_point);

    std::vector<std::string> m_candidates;
    bool m_tried = false;
    std::string m_path;
    std::string m_file;
    std::unique_ptr<FaceReader> m_face;
    int m_units_per_em = 0;
    int m_ascender = 0;
    int m_descender = 0; // below the baseline: positive
    int m_line_gap = 0;
    std::map<int, std::unique_ptr<Face>> m_faces; // by pixel size
};

} // namespace kvalon
