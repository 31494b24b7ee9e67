// Calls of built-in entries as the executor makes them, their arguments,
// results and messages.
#pragma once

#include <gtest/gtest.h>

#include <complex>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "exec/exec.h"
#include "value/value.h"

namespace mathtest {

// A rows x cols matrix from real values given row by row.
inline NRefPtr mat(int rows, int cols, std::initializer_list<double> values) {
    NRefPtr p(new NNum(cols, rows));
    std::size_t i = 0;
    for (double v : values) asNum(p)->data[i++] = {v, 0.0};
    return p;
}
inline NRefPtr cnum(double re, double im) { return makeNum(re, im); }
inline NRefPtr num(double x) { return makeNum(x); }

// The result slot starts as 1x1 zero; errors name line 7.
inline NRefPtr call(BuiltinEntry entry, ArgList args) {
    NContext ctx;
    NRefPtr result = makeNum(0.0);
    entry(ctx, 7, args, result);
    return result;
}
inline std::string err(const char* message) { return "error [7]: " + std::string(message); }
// The message of the error the call raises, or "" when it raises none.
inline std::string errorOf(BuiltinEntry entry, ArgList args) {
    try {
        call(entry, std::move(args));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

inline const NNum& asMatrix(const NRefPtr& v) {
    if (!asNum(v)) throw std::logic_error("result is not a number");
    return *asNum(v);
}
inline Complex only(const NRefPtr& v) {
    if (asMatrix(v).count() != 1) throw std::logic_error("result is not 1x1");
    return asMatrix(v).data[0];
}
inline double real1(const NRefPtr& v) { return only(v).re; }
inline std::complex<double> complex1(const NRefPtr& v) { return {only(v).re, only(v).im}; }

}  // namespace mathtest
