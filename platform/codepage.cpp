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

// Lead bytes 0xF0-0xFC (the user-defined area and the IBM extensions, which
// hold common name characters) do not survive the arithmetic mapping and
// back. They travel as three bytes instead: 0x8F, then the lead byte and the
// half of the trail range, then the trail byte's place in that half, all of
// them 0xA1 or above like any other EUC-JP byte.
constexpr unsigned kExtendedLead = 0xF0;
constexpr unsigned kTrailCount = 188;  // 0x40-0x7E and 0x80-0xFC
constexpr unsigned kHalf = 94;

bool isExtendedLead(unsigned char c) { return c >= kExtendedLead && c <= 0xFC; }

unsigned trailIndex(unsigned c2) { return c2 < 0x7F ? c2 - 0x40 : c2 - 0x41; }
unsigned trailFromIndex(unsigned t) { return t < 0x3F ? t + 0x40 : t + 0x41; }

void extendedPairToEuc(unsigned c1, unsigned c2, unsigned char out[3]) {
    unsigned t = trailIndex(c2);
    out[0] = 0x8F;
    out[1] = static_cast<unsigned char>(0xA1 + (c1 - kExtendedLead) * 2 + t / kHalf);
    out[2] = static_cast<unsigned char>(0xA1 + t % kHalf);
}

// The inverse of extendedPairToEuc for the two bytes after 0x8F; false when
// they are not such a pair (then the sequence is JIS X 0212, which has no
// Shift_JIS form).
bool extendedEucToPair(unsigned x, unsigned y, char out[2]) {
    unsigned lastX = 0xA1 + (0xFC - kExtendedLead) * 2 + 1;
    if (x < 0xA1 || x > lastX || y < 0xA1 || y >= 0xA1 + kHalf) return false;
    unsigned t = ((x - 0xA1) % 2) * kHalf + (y - 0xA1);
    if (t >= kTrailCount) return false;
    out[0] = static_cast<char>(kExtendedLead + (x - 0xA1) / 2);
    out[1] = static_cast<char>(trailFromIndex(t));
    return true;
}

}  // namespace

std::string sjisToEuc(const char* text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    std::size_t n = std::strlen(text);
    // Count first so that the output is allocated once.
    std::size_t outLength = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (isLeadByte(in[i]) && i + 1 < n && isTrailByte(in[i + 1])) {
            outLength += isExtendedLead(in[i]) ? 3 : 2;
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
        if (isExtendedLead(c1) && i + 1 < n && isTrailByte(in[i + 1])) {
            unsigned char triple[3];
            extendedPairToEuc(c1, in[i + 1], triple);
            out.append(reinterpret_cast<const char*>(triple), 3);
            ++i;
        } else if (isLeadByte(c1) && i + 1 < n && isTrailByte(in[i + 1])) {
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
            char pair[2];
            if (i + 2 < n && extendedEucToPair(in[i + 1], in[i + 2], pair)) out.append(pair, 2);
            // Otherwise single shift 3 (JIS X 0212) has no Shift_JIS form: dropped.
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
