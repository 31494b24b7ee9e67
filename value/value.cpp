// Value classes, their construction and their text forms.
#include "value/value.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "value/element_store.h"
#include "value/ops.h"
#include "value/raise.h"
#include "platform/codepage.h"

// ---------------------------------------------------------------- NRef

NRef::~NRef() = default;
NRef* NRef::clone() const { return nullptr; }
std::string NRef::typeName() const { return "unknown"; }

// ---------------------------------------------------------------- NNum storage

namespace {

// The memory a process may use: the physical memory, lowered by an address
// space limit or a control-group limit when either is set.
std::size_t usableMemory() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    std::size_t bytes = pages > 0 && pageSize > 0 ? static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize)
                                                  : std::size_t(1) << 33;
    struct rlimit rl;
    if (getrlimit(RLIMIT_AS, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY && rl.rlim_cur < bytes)
        bytes = static_cast<std::size_t>(rl.rlim_cur);
    if (std::FILE* f = std::fopen("/sys/fs/cgroup/memory.max", "r")) {
        unsigned long long limit = 0;
        if (std::fscanf(f, "%llu", &limit) == 1 && limit > 0 && limit < bytes) bytes = static_cast<std::size_t>(limit);
        std::fclose(f);
    }
    return bytes;
}

// The largest element count we try to allocate: half of the usable memory
// (16 bytes an element), and never more than a signed 32-bit count, so every
// index and count of a matrix fits the 32-bit fields scripts see. A request
// past it is refused with a run-time error before the system's overcommit
// could hand out pages whose first use would kill the process.
std::size_t maxElements() {
    static const std::size_t limit = [] {
        std::size_t n = usableMemory() / 2 / sizeof(Complex);
        return n < 0x7fffffffu ? n : std::size_t(0x7fffffff);
    }();
    return limit;
}

}  // namespace

void NNum::allocate(bool zero) {
    if (cols < 0 || rows < 0) {
        std::int32_t c = cols, r = rows;
        data = &inline_;  // keeps the destructor harmless
        raiseError(0, "Bad matrix size %d x %d", r, c);
    }
    std::size_t n = count();  // 64-bit product of two values below 2^31: no overflow
    if (n <= 1) {
        data = &inline_;
        if (zero) inline_ = {0.0, 0.0};
        return;
    }
    if (n > maxElements()) {
        std::int32_t c = cols, r = rows;
        data = &inline_;
        raiseError(0, "Not enough memory for a matrix of %d x %d", r, c);
    }
    data = allocateElements(n, zero);
    if (!data) {
        std::int32_t c = cols, r = rows;
        data = &inline_;
        raiseError(0, "Not enough memory for a matrix of %d x %d", r, c);
    }
}

NNum::NNum(std::int32_t c, std::int32_t r) : NRef(NKind::Num), cols(c), rows(r), data(nullptr) { allocate(true); }

NNum::NNum(std::int32_t c, std::int32_t r, Uninit) : NRef(NKind::Num), cols(c), rows(r), data(nullptr) {
    allocate(false);
}

void NNum::releaseLarge() { releaseElements(data, count()); }

void destroyValue(NRef* p) {
    // Numbers, the most common by far, go without a virtual call.
    if (p->kind == NKind::Num)
        delete static_cast<NNum*>(p);
    else
        delete p;
}

NRef* NNum::clone() const {
    NNum* copy = new NNum(cols, rows, Uninit{});
    std::size_t n = count();
    if (n) std::memcpy(copy->data, data, n * sizeof(Complex));
    return copy;
}

std::string NNum::typeName() const { return "number"; }

// ---------------------------------------------------------------- strings, file ids

NRef* NString::clone() const { return new NString(text); }
std::string NString::typeName() const { return "string"; }
NRef* NFileID::clone() const { return new NFileID(fileNo); }
std::string NFileID::typeName() const { return "fileno"; }

// ---------------------------------------------------------------- construction helpers

NRefPtr makeString(std::string text) { return NRefPtr(new NString(std::move(text))); }

NRefPtr makeString(std::string_view a, std::string_view b) {
    std::string t;
    t.reserve(a.size() + b.size());
    t.append(a);
    t.append(b);
    return NRefPtr(new NString(std::move(t)));
}

NRefPtr takeForBinding(const NRefPtr& v) {
    if (!v) return NRefPtr();
    if (v->bindCount == 0) return v;
    return NRefPtr(v->clone());
}

// ---------------------------------------------------------------- text forms

namespace {

// One double through the number format, into a bounded buffer: a format whose
// output is longer is cut, never written past the buffer.
void appendFormatted(std::string& out, const char* format, double x) {
    char buf[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buf, sizeof buf, format, x);
#pragma GCC diagnostic pop
    if (n <= 0) return;
    out.append(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1);
}

}  // namespace

std::string elementText(const char* format, Complex z) {
    double re = z.re, im = z.im;
    // NaN prints without a sign whichever way it arose (0/0 gives a negative one).
    if (std::isnan(re)) re = std::fabs(re);
    if (std::isnan(im)) im = std::fabs(im);
    if (std::isfinite(re) && toleranceEqual(re, 0.0)) re = 0.0;
    std::string out;
    if (std::isfinite(im) && toleranceEqual(im, 0.0)) {
        appendFormatted(out, format, re);
    } else if (re == 0.0) {
        appendFormatted(out, format, im);
        out += 'i';
    } else {
        appendFormatted(out, format, re);
        out += (im < 0 || std::isnan(im)) ? '-' : '+';
        appendFormatted(out, format, std::fabs(im));
        out += 'i';
    }
    return out;
}

std::string matrixText(const char* format, const NNum& m) {
    std::size_t n = m.count();
    if (n == 0) return std::string();
    std::vector<std::string> texts(n);
    std::size_t width = 0;
    for (std::size_t i = 0; i < n; ++i) {
        texts[i] = elementText(format, m.data[i]);
        if (texts[i].size() > width) width = texts[i].size();
    }
    std::string out;
    out.reserve(n * (width + 2));
    for (std::int32_t r = 0; r < m.rows; ++r) {
        for (std::int32_t c = 0; c < m.cols; ++c) {
            const std::string& t = texts[static_cast<std::size_t>(r) * m.cols + c];
            out.append(width - t.size(), ' ');
            out += t;
            if (c + 1 < m.cols) out += ", ";
        }
        if (r + 1 < m.rows) out += '\n';
    }
    return out;
}

std::string displayForm(const NString& s) {
    const std::string& t = s.text;
    std::string out = "\"";
    for (std::size_t i = 0; i < t.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(t[i]);
        if (i + 1 < t.size() && isLeadByte(b) && isTrailByte(static_cast<unsigned char>(t[i + 1]))) {
            out += t[i];
            out += t[i + 1];
            ++i;
            continue;
        }
        if (b >= 32 && b <= 126) {
            out += static_cast<char>(b);
            continue;
        }
        switch (b) {
            case 0: out += "\\0"; break;
            case 7: out += "\\a"; break;
            case 8: out += "\\b"; break;
            case 9: out += "\\t"; break;
            case 10: out += "\\n"; break;
            case 11: out += "\\v"; break;
            case 12: out += "\\f"; break;
            case 13: out += "\\r"; break;
            default: {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", b);
                out += hex;
            }
        }
    }
    out += '"';
    return out;
}
