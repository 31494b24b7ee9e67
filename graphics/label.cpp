// Labels rasterised with FreeType in monochrome and drawn with glBitmap.
#include "graphics/label.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <GL/gl.h>

#include <algorithm>
#include <unordered_map>

const char* const kDefaultFaceName = "\x82\x6C\x82\x72\x20\x82\x6F\x96\xBE\x92\xA9";

namespace {
// Wider texts are cut here: nothing beyond this many pixels can be seen.
constexpr int kMaxTextWidth = 16384;

struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int pitch = 0;
    std::vector<std::uint8_t> buffer;
};

}  // namespace

struct GlyphCache {
    std::unordered_map<char32_t, Glyph> glyphs;
};

namespace {
const Glyph& glyphOf(FT_Face face, GlyphCache& glyphs, char32_t code) {
    auto& cache = glyphs.glyphs;
    auto found = cache.find(code);
    if (found != cache.end()) return found->second;
    Glyph g;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
        FT_GlyphSlot slot = face->glyph;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO && slot->bitmap.buffer) {
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(slot->bitmap.width);
            g.rows = static_cast<int>(slot->bitmap.rows);
            g.pitch = slot->bitmap.pitch < 0 ? -slot->bitmap.pitch : slot->bitmap.pitch;
            g.buffer.assign(slot->bitmap.buffer, slot->bitmap.buffer + static_cast<std::size_t>(g.pitch) * g.rows);
        }
    }
    return cache.emplace(code, std::move(g)).first->second;
}
}  // namespace

bool TextBitmap::isSet(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    int row = height - 1 - y;
    return bits[static_cast<std::size_t>(row) * bytesPerRow() + x / 8] & (0x80 >> (x % 8));
}

int TextBitmap::countSet() const {
    int n = 0;
    for (std::uint8_t b : bits) n += __builtin_popcount(b);
    return n;
}

GLLabel::GLLabel() : glyphs_(std::make_unique<GlyphCache>()) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) == 0) library_ = lib;
}

GLLabel::~GLLabel() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

void GLLabel::setFont(const std::string& faceName, int height) {
    if (!library_) return;
    height = std::clamp(height, 1, 1000);
    FontFile file;
    if (!lastFile_.path.empty() && faceName == lastName_) {
        file = lastFile_;
    } else {
        file = findFontFamily(sjisToUtf8(faceName));
        if (file.path.empty() && faceName == kDefaultFaceName) file = findFallbackFont();
        if (!file.path.empty()) {
            lastName_ = faceName;
            lastFile_ = file;
        }
    }
    if (file.path.empty()) {  // an unknown face keeps the previous font
        ensureFont();
        return;
    }
    if (face_ && file.path == fontFile_ && file.index == fontIndex_ && height == cellHeight_) return;
    loadFace(file.path, file.index, height);
}

bool GLLabel::loadFace(const std::string& file, int index, int height) {
    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), index, &face) != 0) return false;
    // The height is the cell height (ascender plus descender), as fonts are
    // sized on the system this language comes from.
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(height) * 64;
    if (FT_Request_Size(face, &request) != 0) {
        FT_Done_Face(face);
        return false;
    }
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    glyphs_->glyphs.clear();
    face_ = face;
    fontFile_ = file;
    fontIndex_ = index;
    ascender_ = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
    int descender = static_cast<int>((-face->size->metrics.descender + 32) >> 6);
    // The cell is the requested height even when rounding of the metrics differs.
    cellHeight_ = height;
    if (ascender_ + descender != height) ascender_ = std::min(ascender_, height);
    return true;
}

TextBitmap GLLabel::rasterise(const std::string& text) {
    ensureFont();
    TextBitmap bm;
    FT_Face face = static_cast<FT_Face>(face_);
    std::u32string codes = face ? sjisToUnicode(text) : std::u32string();
    int cx = 0;
    std::size_t shown = 0;
    for (; shown < codes.size(); ++shown) {
        int advance = glyphOf(face, *glyphs_, codes[shown]).advance;
        if (cx + advance > kMaxTextWidth) break;
        cx += advance;
    }
    int cy = face ? cellHeight_ : 0;
    bm.width = (cx + 33) / 32 * 32;
    bm.height = cy + 2;
    bm.bits.assign(static_cast<std::size_t>(bm.width / 8) * bm.height, 0);
    int pen = 2;
    for (std::size_t i = 0; i < shown; ++i) {
        const Glyph& g = glyphOf(face, *glyphs_, codes[i]);
        for (int r = 0; r < g.rows; ++r) {
            int y = ascender_ - g.top + r;  // from the top edge
            if (y < 0 || y >= cy) continue;  // the 2 rows below the text stay empty
            int row = bm.height - 1 - y;
            for (int c = 0; c < g.width; ++c) {
                if (!(g.buffer[static_cast<std::size_t>(r) * g.pitch + c / 8] & (0x80 >> (c % 8)))) continue;
                int x = pen + g.left + c;
                if (x < 0 || x >= bm.width) continue;
                bm.bits[static_cast<std::size_t>(row) * bm.bytesPerRow() + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        pen += g.advance;
    }
    return bm;
}

int GLLabel::textWidth(const std::string& text) {
    ensureFont();
    FT_Face face = static_cast<FT_Face>(face_);
    if (!face) return 0;
    int cx = 0;
    for (char32_t c : sjisToUnicode(text)) cx += glyphOf(face, *glyphs_, c).advance;
    return cx;
}

void GLLabel::drawText(double x, double y, double z, const std::string& text) {
    current_ = rasterise(text);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glRasterPos3d(x, y, z);
    glBitmap(current_.width, current_.height, 0.0f, 0.0f, 0.0f, 0.0f, current_.bits.data());
}
