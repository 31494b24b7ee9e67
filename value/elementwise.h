// The element-wise loops behind op1 and op2, as templates over the kernel so
// that a known kernel is inlined into the loop. Shapes pair by the broadcast
// rule (scalar, same shape, row or column against a matrix, column against a
// row) through index arithmetic; no expanded copy of an operand is built.
//
// An operand with no elements passes the scalar-like test but has no element
// to pair: the result is then an empty matrix of that operand's shape and the
// kernel is never called.
#pragma once

#include <cstddef>

#include "value/ops.h"
#include "value/raise.h"

namespace elementwise {

// f(line, a) -> Complex over every element of a.
template <class F>
NRefPtr map1(int line, const NNum& a, F f) {
    NNum* r = new NNum(a.cols, a.rows, NNum::Uninit{});
    NRefPtr hold(r);
    const Complex* x = a.data;
    Complex* out = r->data;
    const std::size_t n = a.count();
    for (std::size_t i = 0; i < n; ++i) out[i] = f(line, x[i]);
    return hold;
}

// f(line, a, b) -> Complex with broadcasting.
template <class F>
NRefPtr map2(int line, const NNum& a, const NNum& b, F f) {
    const std::int32_t ra = a.rows, ca = a.cols, rb = b.rows, cb = b.cols;
    const Complex* x = a.data;
    const Complex* y = b.data;
    if (ra == 1 && ca == 1 && rb == 1 && cb == 1) {
        NNum* r = new NNum(1, 1, NNum::Uninit{});
        NRefPtr hold(r);
        r->data[0] = f(line, x[0], y[0]);
        return hold;
    }
    if (scalarLike(a) || scalarLike(b)) {
        if (a.count() == 0) return NRefPtr(new NNum(ca, ra));
        if (scalarLike(a)) {
            NNum* r = new NNum(cb, rb, NNum::Uninit{});
            NRefPtr hold(r);
            const Complex s = x[0];
            Complex* out = r->data;
            const std::size_t n = b.count();
            for (std::size_t i = 0; i < n; ++i) out[i] = f(line, s, y[i]);
            return hold;
        }
        if (b.count() == 0) return NRefPtr(new NNum(cb, rb));
        NNum* r = new NNum(ca, ra, NNum::Uninit{});
        NRefPtr hold(r);
        const Complex s = y[0];
        Complex* out = r->data;
        const std::size_t n = a.count();
        for (std::size_t i = 0; i < n; ++i) out[i] = f(line, x[i], s);
        return hold;
    }
    if (ra == rb && ca == cb) {
        NNum* r = new NNum(ca, ra, NNum::Uninit{});
        NRefPtr hold(r);
        Complex* out = r->data;
        const std::size_t n = a.count();
        for (std::size_t i = 0; i < n; ++i) out[i] = f(line, x[i], y[i]);
        return hold;
    }
    // The remaining cases give a matrix of rows x cols whose element (i, j)
    // pairs a's element at (i * aRowStep + j * aColStep) with b's likewise.
    std::int32_t rows, cols;
    std::size_t aRowStep, aColStep, bRowStep, bColStep;
    if (ca == cb && ra == 1) {  // a row as wide as b
        rows = rb, cols = cb, aRowStep = 0, aColStep = 1, bRowStep = cb, bColStep = 1;
    } else if (ca == cb && rb == 1) {  // b a row as wide as a
        rows = ra, cols = ca, aRowStep = ca, aColStep = 1, bRowStep = 0, bColStep = 1;
    } else if (ra == rb && ca == 1) {  // a column as tall as b
        rows = rb, cols = cb, aRowStep = 1, aColStep = 0, bRowStep = cb, bColStep = 1;
    } else if (ra == rb && cb == 1) {  // b a column as tall as a
        rows = ra, cols = ca, aRowStep = ca, aColStep = 1, bRowStep = 1, bColStep = 0;
    } else if (ca == 1 && rb == 1) {  // a column against a row
        rows = ra, cols = cb, aRowStep = 1, aColStep = 0, bRowStep = 0, bColStep = 1;
    } else if (ra == 1 && cb == 1) {  // a row against a column
        rows = rb, cols = ca, aRowStep = 0, aColStep = 1, bRowStep = 1, bColStep = 0;
    } else {
        raiseError(line, "Matrix size not match in op2");
    }
    NNum* r = new NNum(cols, rows, NNum::Uninit{});
    NRefPtr hold(r);
    Complex* out = r->data;
    for (std::int32_t i = 0; i < rows; ++i) {
        const Complex* xr = x + i * aRowStep;
        const Complex* yr = y + i * bRowStep;
        Complex* o = out + static_cast<std::size_t>(i) * cols;
        if (aColStep == 1 && bColStep == 1) {
            for (std::int32_t j = 0; j < cols; ++j) o[j] = f(line, xr[j], yr[j]);
        } else if (aColStep == 1) {
            const Complex s = yr[0];
            for (std::int32_t j = 0; j < cols; ++j) o[j] = f(line, xr[j], s);
        } else if (bColStep == 1) {
            const Complex s = xr[0];
            for (std::int32_t j = 0; j < cols; ++j) o[j] = f(line, s, yr[j]);
        } else {
            for (std::int32_t j = 0; j < cols; ++j) o[j] = f(line, xr[0], yr[0]);
        }
    }
    return hold;
}

// f over a and b with the result written over target, which is a or b and
// has more than one element: each element is read before its own place is
// written. Only a pairing whose result has target's shape is done here (the
// same shape, or a 1x1 other operand); false leaves everything untouched.
template <class F>
bool map2InPlace(int line, NNum& target, const NNum& a, const NNum& b, F f) {
    const Complex* x = a.data;
    const Complex* y = b.data;
    Complex* out = target.data;
    const std::size_t n = target.count();
    if (a.rows == b.rows && a.cols == b.cols) {
        for (std::size_t i = 0; i < n; ++i) out[i] = f(line, x[i], y[i]);
        return true;
    }
    if (&target == &a && b.rows == 1 && b.cols == 1) {
        const Complex s = y[0];
        for (std::size_t i = 0; i < n; ++i) out[i] = f(line, x[i], s);
        return true;
    }
    if (&target == &b && a.rows == 1 && a.cols == 1) {
        const Complex s = x[0];
        for (std::size_t i = 0; i < n; ++i) out[i] = f(line, s, y[i]);
        return true;
    }
    return false;
}

}  // namespace elementwise
