#include "files/data_line.h"

#include <cstdlib>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == ',';
}
bool isImaginaryLetter(char c) { return c == 'i' || c == 'j' || c == 'I' || c == 'J'; }

// The end of the unsigned decimal starting at pos, or pos when none matches.
// The forms are tried in order and the first that matches wins.
std::size_t matchDecimal(const char* s, std::size_t n, std::size_t pos) {
    if (pos >= n) return pos;
    // 1: digits and "." in any mix, then an exponent with at least one digit.
    if (isDigit(s[pos]) || s[pos] == '.') {
        std::size_t j = pos;
        while (j < n && (isDigit(s[j]) || s[j] == '.')) ++j;
        if (j < n && (s[j] == 'e' || s[j] == 'E')) {
            std::size_t k = j + 1;
            if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
            if (k < n && isDigit(s[k])) {
                while (k < n && isDigit(s[k])) ++k;
                return k;
            }
        }
    }
    // 2: optional digits, ".", at least one digit.
    {
        std::size_t j = pos;
        while (j < n && isDigit(s[j])) ++j;
        if (j + 1 < n && s[j] == '.' && isDigit(s[j + 1])) {
            std::size_t k = j + 1;
            while (k < n && isDigit(s[k])) ++k;
            return k;
        }
    }
    // 3: an integer without a leading zero, optionally with a trailing ".".
    if (s[pos] >= '1' && s[pos] <= '9') {
        std::size_t j = pos + 1;
        while (j < n && isDigit(s[j])) ++j;
        if (j < n && s[j] == '.') ++j;
        return j;
    }
    // 4: zero, optionally with a trailing ".".
    if (s[pos] == '0') {
        std::size_t j = pos + 1;
        if (j < n && s[j] == '.') ++j;
        return j;
    }
    return pos;
}

// Reads one number with its optional sign at pos. Returns false (pos
// unchanged) when no number starts there.
bool readNumber(const char* s, std::size_t n, std::size_t& pos, Complex& out) {
    std::size_t p = pos;
    double sign = 1.0;
    if (p < n && (s[p] == '+' || s[p] == '-')) {
        if (s[p] == '-') sign = -1.0;
        ++p;
    }
    std::size_t end = matchDecimal(s, n, p);
    if (end > p) {
        double magnitude = std::strtod(std::string(s + p, end - p).c_str(), nullptr);
        if (end < n && isImaginaryLetter(s[end])) {
            out = {0.0, sign * magnitude};
            ++end;
        } else {
            out = {sign * magnitude, 0.0};
        }
        pos = end;
        return true;
    }
    // 5: the imaginary unit alone.
    if (p < n && isImaginaryLetter(s[p])) {
        out = {0.0, sign};
        pos = p + 1;
        return true;
    }
    return false;
}

}  // namespace

DataLine parseDataLine(const char* s, std::size_t n) {
    DataLine line;
    std::size_t pos = 0;
    while (pos < n && isSeparator(s[pos])) ++pos;
    if (pos < n && s[pos] == '#') {
        line.comment = true;
        return line;
    }
    while (true) {
        while (pos < n && isSeparator(s[pos])) ++pos;
        if (pos >= n || s[pos] == '#') break;
        Complex z;
        if (!readNumber(s, n, pos, z)) {
            line.bad = true;
            break;
        }
        // A sign right after a number continues the same element: 1+2i.
        while (pos < n && (s[pos] == '+' || s[pos] == '-')) {
            Complex w;
            if (!readNumber(s, n, pos, w)) {
                line.bad = true;
                break;
            }
            z.re += w.re;
            z.im += w.im;
        }
        line.elements.push_back(z);
        if (line.bad) break;
    }
    return line;
}
