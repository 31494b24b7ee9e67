// Helpers for calling built-in entries directly: argument construction,
// the call itself and the text of a raised error.
#pragma once

#include <gtest/gtest.h>

#include <complex>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "exec/exec.h"
#include "value/value.h"

namespace mathtest {

constexpr int kLine = 7;

// A rows x cols matrix from real values given row by row.
inline NRefPtr mat(int rows, int cols, std::initializer_list<double> values) {
    NNum* m = new NNum(cols, rows);
    NRefPtr p(m);
    std::size_t i = 0;
    for (double v : values) m->data[i++] = {v, 0.0};
    return p;
}
inline NRefPtr cnum(double re, double im) { return makeNum(re, im); }
inline NRefPtr num(double x) { return makeNum(x); }

// Calls the entry as the executor does: the result slot starts as 1x1 zero.
inline NRefPtr call(BuiltinEntry entry, ArgList args) {
    NContext ctx;
    NRefPtr result = makeNum(0.0);
    entry(ctx, kLine, args, result);
    return result;
}

// The message of the error the call raises, or "" when it raises none.
inline std::string errorOf(BuiltinEntry entry, ArgList args) {
    try {
        call(entry, std::move(args));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}
inline std::string err(const char* message) { return "error [7]: " + std::string(message); }

inline const NNum& asMatrix(const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!m) throw std::logic_error("result is not a number");
    return *m;
}
inline Complex only(const NRefPtr& v) {
    const NNum& m = asMatrix(v);
    if (m.count() != 1) throw std::logic_error("result is not 1x1");
    return m.data[0];
}
inline double real1(const NRefPtr& v) { return only(v).re; }
inline std::complex<double> complex1(const NRefPtr& v) {
    Complex z = only(v);
    return {z.re, z.im};
}

}  // namespace mathtest
