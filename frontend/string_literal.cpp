#include "frontend/string_literal.h"

#include <cstdio>

#include "platform/codepage.h"

void appendHexEscape(std::string& buffer, unsigned value) {
    if (value == 0) {
        buffer += "\\0";
        return;
    }
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02x", value & 0xFF);
    buffer += text;
}

void appendOctalEscape(std::string& buffer, unsigned value) {
    if (value == 0) {
        buffer += "\\0";
        return;
    }
    char text[8];
    std::snprintf(text, sizeof text, "\\o%03o", value & 0777);
    buffer += text;
}

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

}  // namespace

std::string decodeStringLiteral(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    std::size_t i = 0;
    const std::size_t n = in.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (isLeadByte(c) && i + 1 < n && isTrailByte(static_cast<unsigned char>(in[i + 1]))) {
            // A trail byte may equal a backslash; it is never an escape.
            out += in[i];
            out += in[i + 1];
            i += 2;
            continue;
        }
        if (c != '\\' || i + 1 >= n) {
            out += in[i];
            i += 1;
            continue;
        }
        char e = in[i + 1];
        if (e == '0') {
            out += '\0';
            i += 2;
        } else if (e == '\\') {
            out += '\\';
            i += 2;
        } else if (e == 'x' && i + 3 < n && hexDigit(in[i + 2]) >= 0 && hexDigit(in[i + 3]) >= 0) {
            out += static_cast<char>(hexDigit(in[i + 2]) * 16 + hexDigit(in[i + 3]));
            i += 4;
        } else if (e == 'o' && i + 4 < n && isOctalDigit(in[i + 2]) && isOctalDigit(in[i + 3]) &&
                   isOctalDigit(in[i + 4])) {
            unsigned v = (in[i + 2] - '0') * 64 + (in[i + 3] - '0') * 8 + (in[i + 4] - '0');
            out += static_cast<char>(v & 0xFF);
            i += 5;
        } else {
            // Any other escape stands for the character after the backslash,
            // which is decoded normally (it may start a double-byte pair).
            i += 1;
        }
    }
    return out;
}
