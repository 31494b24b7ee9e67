// The label renderer: texts rasterised into one-bit bitmaps and drawn with
// glBitmap at a raster position, so labels face the viewer, take the current
// colour and never scale with the view.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The default face: "ＭＳ Ｐ明朝" in Shift_JIS, at height 12.
extern const char* const kDefaultFaceName;
constexpr int kDefaultFontHeight = 12;

// One rasterised text. Rows are stored bottom row first, each row `width`
// bits (a multiple of 32), most significant bit leftmost: the layout glBitmap
// takes with its default unpack settings.
struct TextBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;

    int bytesPerRow() const { return width / 8; }
    // Pixel (x, y) with y counted from the top row.
    bool isSet(int x, int y) const;
    int countSet() const;
};

struct GlyphCache;

// The font file and face index of an installed face, or an empty path.
struct FontFile {
    std::string path;
    int index = 0;
};

class GLLabel {
public:
    GLLabel();
    virtual ~GLLabel();
    GLLabel(const GLLabel&) = delete;
    GLLabel& operator=(const GLLabel&) = delete;

    // Selects the installed face of that (Shift_JIS) name at a cell height in
    // pixels. An unknown face keeps the previous font. The default face falls
    // back to a Japanese serif face, and failing that to any installed face.
    void setFont(const std::string& faceName, int height);
    // Rasterises a Shift_JIS text in the current font: the text's top-left
    // corner at pixel (2, 0), width padded so that (text width + 2) fits in a
    // multiple of 32, height the cell height + 2.
    TextBitmap rasterise(const std::string& text);
    // The advance width of a text in pixels (before padding).
    int textWidth(const std::string& text);
    // Draws the text with the bitmap's bottom-left corner at the projected
    // point; a point outside the view draws nothing. Needs a current GL context.
    void drawText(double x, double y, double z, const std::string& text);

    bool hasFont() {
        ensureFont();
        return face_ != nullptr;
    }
    const std::string& fontFile() {
        ensureFont();
        return fontFile_;
    }
    int cellHeight() {
        ensureFont();
        return cellHeight_;
    }

private:
    bool loadFace(const std::string& file, int index, int height);
    // The default face is looked up when a label first needs a font, not at
    // start-up: the font search costs more than the rest of start-up.
    void ensureFont() {
        if (!face_ && !defaultTried_) {
            defaultTried_ = true;
            setFont(kDefaultFaceName, kDefaultFontHeight);
        }
    }
    bool defaultTried_ = false;

    void* library_ = nullptr;  // FT_Library
    void* face_ = nullptr;     // FT_Face
    std::string fontFile_;
    int fontIndex_ = 0;
    int cellHeight_ = 0;
    int ascender_ = 0;
    TextBitmap current_;  // the latest text bitmap, kept until the next one
    std::unique_ptr<GlyphCache> glyphs_;  // of the current face and size
    // Face names already looked up (every frame asks for the default face again).
    std::string lastName_;
    FontFile lastFile_;
};

// Shift_JIS (code page 932) bytes to Unicode code points; bytes that do not
// form a character become U+FFFD.
std::u32string sjisToUnicode(const std::string& text);
std::string sjisToUtf8(const std::string& text);

// The installed face whose family is exactly `family` (UTF-8, compared
// without case).
FontFile findFontFamily(const std::string& family);
// An installed Japanese serif face, else any installed face.
FontFile findFallbackFont();
