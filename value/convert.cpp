// Extraction of plain integers, reals, texts and points from argument values.
// Every test is exact; the comparison tolerance plays no part.
#include "value/convert.h"

#include <cmath>

#include "value/raise.h"

namespace {

bool isOneByOne(const NNum* m) { return m && m->cols == 1 && m->rows == 1; }

// One row or one column of exactly n elements.
bool isVectorOf(const NNum* m, std::size_t n) { return m && (m->cols == 1 || m->rows == 1) && m->count() == n; }

}  // namespace

bool inInt32Range(double re) { return re >= 0 ? re <= 2147483647.0 : re >= -2147483648.0; }

std::int32_t elementToInteger(int line, Complex z) {
    // fmod of NaN or an infinity is NaN, so those fail the integral test.
    if (z.im != 0.0 || std::fmod(z.re, 1.0) != 0.0 || !inInt32Range(z.re))
        raiseError(line, "Cannot convert arg to integer");
    return static_cast<std::int32_t>(z.re);
}

double elementToReal(int line, Complex z) {
    if (z.im != 0.0) raiseError(line, "Cannot convert arg to real number");
    return z.re;
}

std::int32_t toInteger(int line, const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!isOneByOne(m)) raiseError(line, "Cannot convert arg to integer");
    return elementToInteger(line, m->data[0]);
}

double toReal(int line, const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!isOneByOne(m)) raiseError(line, "Cannot convert arg to real number");
    return elementToReal(line, m->data[0]);
}

std::string toText(int line, const NRefPtr& v) {
    const NString* s = asString(v);
    if (!s) raiseError(line, "Cannot convert arg to string");
    return s->text;
}

Vec4 toVector2(int line, const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!isVectorOf(m, 2)) raiseError(line, "Cannot convert arg to vector2");
    double x = elementToReal(line, m->data[0]);
    double y = elementToReal(line, m->data[1]);
    return {x, y, 1.0, 1.0};
}

Vec4 toVector3(int line, const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!isVectorOf(m, 3)) raiseError(line, "Cannot convert arg to vector3");
    double x = elementToReal(line, m->data[0]);
    double y = elementToReal(line, m->data[1]);
    double z = elementToReal(line, m->data[2]);
    return {x, y, z, 1.0};
}
