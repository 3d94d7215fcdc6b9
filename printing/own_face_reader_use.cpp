#include "printing/own_face_reader.h"

namespace kvalon {

std::unique_ptr<FaceReader> read_face(std::string_view file) {
    return read_face_with_own_tables(file);
}

} // namespace kvalon
