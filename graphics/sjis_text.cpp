// Shift_JIS texts of scripts turned into code points for the font engine.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "graphics/label.h"

std::u32string sjisToUnicode(const std::string& text) {
    std::u32string out;
    if (text.empty()) return out;
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter, plain ASCII still shows.
        for (unsigned char c : text) out.push_back(c < 0x80 ? c : 0xFFFD);
        return out;
    }
    std::string in = text;
    char* src = in.data();
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char32_t buffer[64];
        char* dst = reinterpret_cast<char*>(buffer);
        std::size_t dstLeft = sizeof buffer;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        std::size_t produced = (sizeof buffer - dstLeft) / 4;
        for (std::size_t i = 0; i < produced; ++i) {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(&buffer[i]);
            out.push_back(static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<char32_t>(b[3]) << 24));
        }
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that starts no character (or a lead byte cut off at the end).
            out.push_back(0xFFFD);
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::string sjisToUtf8(const std::string& text) {
    std::string out;
    for (char32_t c : sjisToUnicode(text)) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | c >> 18));
            out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}
