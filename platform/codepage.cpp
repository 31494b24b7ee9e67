#include "platform/codepage.h"

#include <cstring>

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

namespace {

// The EUC-JP pair for a Shift_JIS lead byte c1 and trail byte c2.
void sjisPairToEuc(unsigned c1, unsigned c2, unsigned char out[2]) {
    unsigned first;
    if (c1 > 0x9F)
        first = c2 >= 0x9F ? (c1 + 0x50) * 2 : c1 * 2 - 0x61;
    else
        first = c2 >= 0x9F ? (c1 + 0x10) * 2 : c1 * 2 + 0x1F;
    unsigned second;
    if (c2 < 0x7F)
        second = c2 - 0x1F;
    else if (c2 < 0x9F)
        second = c2 - 0x20;
    else
        second = c2 - 0x7E;
    out[0] = static_cast<unsigned char>((first & 0xFF) | 0x80);
    out[1] = static_cast<unsigned char>((second & 0xFF) | 0x80);
}

bool isHalfWidthKatakana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

}  // namespace

std::string sjisToEuc(const char* text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    std::size_t n = std::strlen(text);
    // Count first so that the output is allocated once.
    std::size_t outLength = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (isLeadByte(in[i]) && i + 1 < n && isTrailByte(in[i + 1])) {
            outLength += 2;
            ++i;
        } else if (isHalfWidthKatakana(in[i])) {
            outLength += 2;
        } else {
            outLength += 1;
        }
    }
    std::string out;
    out.reserve(outLength);
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c1 = in[i];
        if (isLeadByte(c1) && i + 1 < n && isTrailByte(in[i + 1])) {
            unsigned char pair[2];
            sjisPairToEuc(c1, in[i + 1], pair);
            out.push_back(static_cast<char>(pair[0]));
            out.push_back(static_cast<char>(pair[1]));
            ++i;
        } else if (isHalfWidthKatakana(c1)) {
            out.push_back(static_cast<char>(0x8E));
            out.push_back(static_cast<char>(c1));
        } else {
            out.push_back(static_cast<char>(c1));
        }
    }
    return out;
}

std::string eucToSjis(std::string_view text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size();
    std::string out;
    out.reserve(n);
    std::size_t i = 0;
    while (i < n) {
        unsigned char b1 = in[i];
        if (b1 < 0x80) {
            out.push_back(static_cast<char>(b1));
            i += 1;
        } else if (b1 == 0x8E) {
            // Single shift 2: a half-width katakana byte follows.
            if (i + 1 < n) out.push_back(static_cast<char>(in[i + 1]));
            i += 2;
        } else if (b1 == 0x8F) {
            // Single shift 3 (JIS X 0212) has no Shift_JIS form: dropped.
            i += 3;
        } else if (i + 1 >= n) {
            // A high byte at the very end has no partner; keep it.
            out.push_back(static_cast<char>(b1));
            i += 1;
        } else {
            unsigned c1 = b1 & 0x7F;
            unsigned c2 = in[i + 1] & 0x7F;
            unsigned first = c1 < 95 ? (c1 + 225) / 2 : (c1 + 353) / 2;
            unsigned second;
            if (c1 & 1)
                second = c2 < 96 ? c2 + 31 : c2 + 32;
            else
                second = c2 + 126;
            out.push_back(static_cast<char>(first & 0xFF));
            out.push_back(static_cast<char>(second & 0xFF));
            i += 2;
        }
    }
    return out;
}
