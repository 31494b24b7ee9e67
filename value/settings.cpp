#include "value/settings.h"

namespace {
std::string g_format = "%.3f";
bool g_strict = false;
}  // namespace

const char* numberFormat() { return g_format.c_str(); }

namespace {

// Skips a run of decimal digits; false when it is longer than three digits.
// A width or precision past 999 would only ask printf for megabytes of
// padding that the element text cuts off anyway.
bool skipSmallNumber(const std::string& f, std::size_t& i) {
    std::size_t start = i;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') ++i;
    return i - start <= 3;
}

}  // namespace

bool isValidNumberFormat(const std::string& f) {
    // Exactly one conversion, of a floating-point type, with flags, width and
    // precision given as short digit runs only and an optional "l" before the
    // type; "%%" is allowed anywhere. A NUL would hide the rest of the text.
    if (f.find('\0') != std::string::npos) return false;
    int conversions = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        ++i;
        if (i < f.size() && f[i] == '%') continue;
        while (i < f.size() && (f[i] == '-' || f[i] == '+' || f[i] == ' ' || f[i] == '#' || f[i] == '0')) ++i;
        if (!skipSmallNumber(f, i)) return false;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!skipSmallNumber(f, i)) return false;
        }
        // "l" changes nothing for a double and is commonly written ("%lf").
        if (i < f.size() && f[i] == 'l') ++i;
        if (i >= f.size()) return false;
        switch (f[i]) {
            case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
                ++conversions;
                break;
            default:
                return false;
        }
    }
    return conversions == 1;
}

bool setNumberFormat(const std::string& format) {
    if (!isValidNumberFormat(format)) return false;
    g_format = format;
    return true;
}

double g_compareTolerance = 0.0;
void setCompareTolerance(double eps) { g_compareTolerance = eps; }

bool strictMode() { return g_strict; }
void setStrictMode(bool on) { g_strict = on; }
