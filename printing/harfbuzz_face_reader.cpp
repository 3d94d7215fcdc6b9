#include "printing/face_reader.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <new>

namespace kvalon {

namespace {

std::string blob_bytes(hb_blob_t* blob) {
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    return data == nullptr ? std::string() : std::string(data, length);
}

void add_step(void* steps, OutlineStep::Kind kind, std::initializer_list<float> points) {
    OutlineStep step;
    step.kind = kind;
    std::copy(points.begin(), points.end(), step.points);
    static_cast<std::vector<OutlineStep>*>(steps)->push_back(step);
}

void move_to(hb_draw_funcs_t*, void* steps, hb_draw_state_t*, float x, float y, void*) {
    add_step(steps, OutlineStep::Kind::Move, {x, y});
}

void line_to(hb_draw_funcs_t*, void* steps, hb_draw_state_t*, float x, float y, void*) {
    add_step(steps, OutlineStep::Kind::Line, {x, y});
}

void cubic_to(hb_draw_funcs_t*, void* steps, hb_draw_state_t*, float x1, float y1, float x2,
              float y2, float x, float y, void*) {
    add_step(steps, OutlineStep::Kind::Cubic, {x1, y1, x2, y2, x, y});
}

void close_path(hb_draw_funcs_t*, void* steps, hb_draw_state_t*, void*) {
    add_step(steps, OutlineStep::Kind::Close, {});
}

// Quadratic pieces reach cubic_to: HarfBuzz converts them when no function of
// their own is set.
hb_draw_funcs_t* step_funcs() {
    static hb_draw_funcs_t* const funcs = [] {
        hb_draw_funcs_t* made = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(made, move_to, nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(made, line_to, nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(made, cubic_to, nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(made, close_path, nullptr, nullptr);
        hb_draw_funcs_make_immutable(made);
        return made;
    }();
    return funcs;
}

std::vector<hb_tag_t> table_tags(hb_face_t* face) {
    std::vector<hb_tag_t> tags(hb_face_get_table_tags(face, 0, nullptr, nullptr));
    auto count = static_cast<unsigned int>(tags.size());
    hb_face_get_table_tags(face, 0, &count, tags.data());
    tags.resize(count);
    return tags;
}

// The face is read where the caller keeps the file, not copied; advances in
// font units.
class HarfBuzzFaceReader final : public FaceReader {
public:
    explicit HarfBuzzFaceReader(std::string_view file) {
        hb_blob_t* blob = hb_blob_create(file.data(), static_cast<unsigned int>(file.size()),
                                         HB_MEMORY_MODE_READONLY, nullptr, nullptr);
        m_face = hb_face_create(blob, 0);
        hb_blob_destroy(blob);
        m_font = hb_font_create(m_face);
        const auto upem = static_cast<int>(hb_face_get_upem(m_face));
        hb_font_set_scale(m_font, upem, upem);
    }
    ~HarfBuzzFaceReader() override {
        hb_font_destroy(m_font);
        hb_face_destroy(m_face);
    }
    HarfBuzzFaceReader(const HarfBuzzFaceReader&) = delete;
    HarfBuzzFaceReader& operator=(const HarfBuzzFaceReader&) = delete;

    unsigned glyph_count() const override { return hb_face_get_glyph_count(m_face); }
    unsigned units_per_em() const override { return hb_face_get_upem(m_face); }

    std::string table(std::uint32_t tag) const override {
        hb_blob_t* blob = hb_face_reference_table(m_face, tag);
        std::string bytes = blob_bytes(blob);
        hb_blob_destroy(blob);
        return bytes;
    }

    bool nominal_glyph(char32_t code, std::uint32_t& glyph) const override {
        hb_codepoint_t found = 0;
        const bool known = hb_font_get_nominal_glyph(m_font, code, &found) != 0;
        glyph = found;
        return known;
    }

    int advance(std::uint32_t glyph) const override {
        return hb_font_get_glyph_h_advance(m_font, glyph);
    }

    std::string name(unsigned name_id) const override {
        const auto id = static_cast<hb_ot_name_id_t>(name_id);
        unsigned int length =
            hb_ot_name_get_utf8(m_face, id, HB_LANGUAGE_INVALID, nullptr, nullptr);
        if (length == 0) {
            return {};
        }
        std::string text(length + 1, '\0');
        ++length;
        hb_ot_name_get_utf8(m_face, id, HB_LANGUAGE_INVALID, &length, text.data());
        text.resize(length);
        return text;
    }

    std::vector<OutlineStep> outline(std::uint32_t glyph) const override {
        std::vector<OutlineStep> steps;
        hb_font_get_glyph_shape(m_font, glyph, step_funcs(), &steps);
        return steps;
    }

    std::optional<std::string> subset(const std::vector<std::uint16_t>& glyphs,
                                      const std::vector<char32_t>& codes,
                                      const std::vector<std::uint32_t>& kept) const override;

private:
    hb_face_t* m_face = nullptr;
    hb_font_t* m_font = nullptr;
};

std::optional<std::string>
HarfBuzzFaceReader::subset(const std::vector<std::uint16_t>& glyphs,
                           const std::vector<char32_t>& codes,
                           const std::vector<std::uint32_t>& kept) const {
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (input == nullptr) {
        throw std::bad_alloc();
    }
    hb_set_t* glyph_set = hb_subset_input_glyph_set(input);
    for (const std::uint16_t glyph : glyphs) {
        hb_set_add(glyph_set, glyph);
    }
    hb_set_t* code_set = hb_subset_input_unicode_set(input);
    for (const char32_t code : codes) {
        hb_set_add(code_set, code);
    }
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag : table_tags(m_face)) {
        if (std::find(kept.begin(), kept.end(), tag) == kept.end()) {
            hb_set_add(dropped, tag);
        }
    }
    hb_set_add(dropped, sfnt_tag("name"));
    // Glyph indexes stay as they are, so pages written before the subset was
    // known show the right glyphs.
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_face_t* cut = hb_subset_or_fail(m_face, input);
    hb_subset_input_destroy(input);
    if (cut == nullptr) {
        return std::nullopt;
    }
    hb_blob_t* file = hb_face_reference_blob(cut);
    std::string bytes = blob_bytes(file);
    hb_blob_destroy(file);
    hb_face_destroy(cut);
    return bytes;
}

} // namespace

std::unique_ptr<FaceReader> read_face(std::string_view file) {
    return std::make_unique<HarfBuzzFaceReader>(file);
}

} // namespace kvalon
