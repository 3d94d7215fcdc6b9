#pragma once

#include "printing/face_reader.h"

#include <memory>
#include <string_view>

namespace kvalon {

// A reader of our own over the face's tables (the character map in format 4
// or 12, the advances, the names, the glyph outlines and subsets), for systems
// without HarfBuzz; it reads the faces as HarfBuzz does.
std::unique_ptr<FaceReader> read_face_with_own_tables(std::string_view file);

} // namespace kvalon
