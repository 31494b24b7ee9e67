#include "builtins/format_language.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int kLimit = static_cast<int>(kDirectiveOutputLimit);

bool isDirectiveChar(char c) {
    return c == ' ' || c == '+' || c == '-' || c == '#' || (c >= '0' && c <= '9') || c == '.' || c == 'h' ||
           c == 'l' || c == 'L';
}

// The collected characters between "%" and the conversion, taken apart. Any
// order is accepted; the rebuilt C directive is always well formed, with
// width and precision no larger than the output limit.
struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    int shorts = 0;  // "h" count
    bool wide = false;  // "l" or "L" seen

    explicit Directive(const std::string& between) {
        bool inPrecision = false;
        bool widthStarted = false;
        for (char c : between) {
            if (c == '.') {
                inPrecision = true;
                if (precision < 0) precision = 0;
            } else if (c >= '0' && c <= '9') {
                if (inPrecision) {
                    precision = grow(precision, c);
                } else if (c == '0' && !widthStarted) {
                    addFlag('0');
                } else {
                    widthStarted = true;
                    width = grow(width < 0 ? 0 : width, c);
                }
            } else if (c == 'h') {
                ++shorts;
            } else if (c == 'l' || c == 'L') {
                wide = true;
            } else {
                addFlag(c);
            }
        }
    }

    // "%" flags width .precision length conversion, for snprintf.
    std::string c(const char* length, char conversion) const {
        std::string out = "%" + flags;
        if (width >= 0) out += std::to_string(width);
        if (precision >= 0) out += "." + std::to_string(precision);
        out += length;
        out += conversion;
        return out;
    }

private:
    static int grow(int value, char digit) {
        long long v = static_cast<long long>(value) * 10 + (digit - '0');
        return v > kLimit ? kLimit : static_cast<int>(v);
    }
    void addFlag(char f) {
        if (flags.find(f) == std::string::npos) flags += f;
    }
};

std::string cut(std::string s) {
    if (s.size() > kDirectiveOutputLimit) s.resize(kDirectiveOutputLimit);
    return s;
}

// The real part truncated toward zero as a 64-bit integer: out-of-range
// values saturate and NaN gives 0, so no conversion is undefined.
long long truncatedInteger(double re) {
    if (std::isnan(re)) return 0;
    double t = std::trunc(re);
    if (t >= 9223372036854775807.0) return INT64_MAX;
    if (t <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<long long>(t);
}

std::string formatInteger(const Directive& d, char conversion, double re) {
    char buffer[kDirectiveOutputLimit + 1];
    long long v = truncatedInteger(re);
    int n;
    if (d.wide && conversion != 'c') {
        n = std::snprintf(buffer, sizeof buffer, d.c("ll", conversion).c_str(), v);
    } else {
        // Without "l" the value is a C int: it is taken modulo 2^32, as the
        // conversion of a wider integer to int does.
        int narrow = static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(v)));
        const char* length = conversion == 'c' ? "" : d.shorts >= 2 ? "hh" : d.shorts == 1 ? "h" : "";
        n = std::snprintf(buffer, sizeof buffer, d.c(length, conversion).c_str(), narrow);
    }
    if (n < 0) return std::string();
    return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

// The C rules of "%s", on a byte string that may hold NUL bytes.
std::string formatString(const Directive& d, const std::string& text) {
    std::string body = d.precision >= 0 ? text.substr(0, static_cast<std::size_t>(d.precision)) : text;
    std::size_t width = d.width > 0 ? static_cast<std::size_t>(d.width) : 0;
    if (body.size() < width) {
        std::string pad(width - body.size(), ' ');
        body = d.flags.find('-') != std::string::npos ? body + pad : pad + body;
    }
    return cut(std::move(body));
}

// The output of one known directive for the value v.
std::string formatOne(const Directive& d, char conversion, const NRefPtr& v) {
    switch (conversion) {
        case 'e': case 'E': case 'f': case 'g': case 'G': {
            NNum* m = asNum(v);
            if (!m || m->count() == 0) return std::string();
            return cut(elementText(d.c("", conversion).c_str(), m->data[0]));
        }
        case 'd': case 'i': case 'o': case 'u': case 'x': case 'X': case 'c': {
            NNum* m = asNum(v);
            if (!m || m->count() == 0) return std::string();
            return formatInteger(d, conversion, m->data[0].re);
        }
        case 's': {
            NString* s = asString(v);
            return s ? formatString(d, s->text) : std::string();
        }
        case 'm': case 'n': {
            NNum* m = asNum(v);
            if (!m) return std::string();
            return cut(matrixText(d.c("", conversion == 'm' ? 'f' : 'g').c_str(), *m));
        }
    }
    return std::string();
}

bool isKnownConversion(char c) {
    switch (c) {
        case 'e': case 'E': case 'f': case 'g': case 'G':
        case 'd': case 'i': case 'o': case 'u': case 'x': case 'X': case 'c':
        case 's': case 'm': case 'n':
            return true;
    }
    return false;
}

}  // namespace

std::string formatWithDirectives(const std::string& fmt, const ArgList& args, std::size_t first) {
    std::string out;
    std::size_t next = first;
    const std::size_t n = fmt.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (fmt[i] != '%') {
            out += fmt[i];
            continue;
        }
        std::size_t j = i + 1;
        while (j < n && isDirectiveChar(fmt[j])) ++j;
        // A "%" at the very end, or flags with no conversion after them,
        // produce nothing.
        if (j >= n) break;
        char conversion = fmt[j];
        std::string between = fmt.substr(i + 1, j - i - 1);  // flags, width, precision, size
        i = j;
        if (conversion == '%' && between.empty()) {
            out += '%';
        } else if (isKnownConversion(conversion)) {
            if (next < args.size()) out += formatOne(Directive(between), conversion, args[next++]);
        } else {
            out += conversion;
        }
    }
    return out;
}
