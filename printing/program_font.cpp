#include "printing/program_font.h"

#include "printing/font_file_faces.h"

#include <iterator>

namespace kvalon {

namespace {

// Where Debian's monospaced faces lie; fontconfig is not asked, as a search
// through it costs more than the whole print of a short report.
const char* const kStandInFonts[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/freefont/FreeMono.ttf",
};

} // namespace

std::vector<std::string> program_font_candidates() {
    std::vector<std::string> candidates{program_folder() + "/" + kProgramFontFile};
    candidates.insert(candidates.end(), std::begin(kStandInFonts), std::end(kStandInFonts));
    return candidates;
}

std::shared_ptr<FontFileFaces> program_faces() {
    static const std::shared_ptr<FontFileFaces> faces =
        std::make_shared<FontFileFaces>(program_font_candidates());
    return faces;
}

} // namespace kvalon
