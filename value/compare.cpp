// Comparison operators on whole values: two strings compare as byte strings
// into a 1x1 result; everything else compares element-wise through op2.
#include <algorithm>
#include <cstring>

#include "value/ops.h"

namespace {

// <0, 0 or >0 as a is before, equal to or after b, byte by byte as unsigned
// bytes; a proper prefix sorts first.
int compareBytes(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0) return c;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

template <class Decide>
NRefPtr compareValues(int line, const NRefPtr& a, const NRefPtr& b, Kernel2 kernel, Decide decide) {
    const NString* s = asString(a);
    const NString* t = asString(b);
    if (s && t) return makeNum(decide(compareBytes(s->text, t->text)) ? 1 : 0);
    return op2(line, a, b, kernel);
}

}  // namespace

NRefPtr compareEQ(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_eq, [](int c) { return c == 0; });
}
NRefPtr compareNE(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_ne, [](int c) { return c != 0; });
}
NRefPtr compareGT(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_gt, [](int c) { return c > 0; });
}
NRefPtr compareGE(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_ge, [](int c) { return c >= 0; });
}
NRefPtr compareLT(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_lt, [](int c) { return c < 0; });
}
NRefPtr compareLE(int line, const NRefPtr& a, const NRefPtr& b) {
    return compareValues(line, a, b, k_le, [](int c) { return c <= 0; });
}
