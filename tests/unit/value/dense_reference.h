// The plain loops the dense kernels must match bit for bit: the product as
// the sum over k from 0 upward, and the eliminations written out directly,
// one element at a time, with their pivot rules.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "value/ops.h"

namespace reference {

inline double magnitude1(Complex z) { return std::fabs(z.re) + std::fabs(z.im); }
inline Complex csub(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }

class Grid {
public:
    Grid(Complex* a, std::int32_t cols) : a_(a), cols_(cols) {}
    Complex& operator()(std::int32_t r, std::int32_t c) const { return a_[std::size_t(r) * cols_ + c]; }
    void swapRows(std::int32_t r1, std::int32_t r2) const {
        for (std::int32_t c = 0; c < cols_; ++c) std::swap((*this)(r1, c), (*this)(r2, c));
    }
    void swapCols(std::int32_t c1, std::int32_t c2, std::int32_t rows) const {
        for (std::int32_t r = 0; r < rows; ++r) std::swap((*this)(r, c1), (*this)(r, c2));
    }

private:
    Complex* a_;
    std::int32_t cols_;
};

// c (zero on entry) += a . b
inline void product(const Complex* a, const Complex* b, Complex* c, int m, int k, int n) {
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            for (int kk = 0; kk < k; ++kk) {
                Complex p = a[std::size_t(i) * k + kk], q = b[std::size_t(kk) * n + j];
                Complex& out = c[std::size_t(i) * n + j];
                out.re += p.re * q.re - p.im * q.im;
                out.im += p.re * q.im + p.im * q.re;
            }
}

// Gauss-Jordan with full pivoting; false when singular.
inline bool invert(Complex* data, std::int32_t n) {
    Grid a(data, n);
    std::vector<std::int32_t> useCount(n, 0), pivotRow(n, 0), pivotCol(n, 0);
    for (std::int32_t i = 0; i < n; ++i) {
        double big = 0.0;
        std::int32_t irow = -1, icol = -1;
        for (std::int32_t j = 0; j < n; ++j) {
            if (useCount[j] == 1) continue;
            for (std::int32_t k = 0; k < n; ++k) {
                if (useCount[k] == 0) {
                    double x = std::fabs(a(j, k).re), y = std::fabs(a(j, k).im);
                    if (x >= big || y >= big) {
                        big = y > x ? y : x;
                        irow = j;
                        icol = k;
                    }
                } else if (useCount[k] > 1) {
                    return false;
                }
            }
        }
        if (irow < 0) return false;
        ++useCount[icol];
        if (irow != icol) a.swapRows(irow, icol);
        pivotRow[i] = irow;
        pivotCol[i] = icol;
        Complex pivot = a(icol, icol);
        if (pivot.re == 0.0 && pivot.im == 0.0) return false;
        Complex pivinv = cdiv({1.0, 0.0}, pivot);
        a(icol, icol) = {1.0, 0.0};
        for (std::int32_t c = 0; c < n; ++c) a(icol, c) = cmul(a(icol, c), pivinv);
        for (std::int32_t r = 0; r < n; ++r) {
            if (r == icol) continue;
            Complex f = a(r, icol);
            a(r, icol) = {0.0, 0.0};
            for (std::int32_t c = 0; c < n; ++c) a(r, c) = csub(a(r, c), cmul(f, a(icol, c)));
        }
    }
    for (std::int32_t l = n - 1; l >= 0; --l)
        if (pivotRow[l] != pivotCol[l]) a.swapCols(pivotRow[l], pivotCol[l], n);
    return true;
}

// Crout LU with implicit row scaling and partial pivoting.
inline Complex determinant(Complex* data, std::int32_t n) {
    Grid a(data, n);
    const Complex zero{0.0, 0.0};
    std::vector<double> scale(n);
    for (std::int32_t i = 0; i < n; ++i) {
        double big = 0.0;
        for (std::int32_t j = 0; j < n; ++j)
            if (magnitude1(a(i, j)) > big) big = magnitude1(a(i, j));
        if (big == 0.0) return zero;
        scale[i] = 1.0 / big;
    }
    Complex d{1.0, 0.0};
    for (std::int32_t j = 0; j < n; ++j) {
        for (std::int32_t i = 0; i < j; ++i) {
            Complex sum = a(i, j);
            for (std::int32_t k = 0; k < i; ++k) sum = csub(sum, cmul(a(i, k), a(k, j)));
            a(i, j) = sum;
        }
        double big = 0.0;
        std::int32_t imax = j;
        for (std::int32_t i = j; i < n; ++i) {
            Complex sum = a(i, j);
            for (std::int32_t k = 0; k < j; ++k) sum = csub(sum, cmul(a(i, k), a(k, j)));
            a(i, j) = sum;
            double merit = scale[i] * magnitude1(sum);
            if (merit >= big) {
                big = merit;
                imax = i;
            }
        }
        if (imax != j) {
            a.swapRows(imax, j);
            d = {-d.re, -d.im};
            scale[imax] = scale[j];
        }
        if (magnitude1(a(j, j)) < 1e-10) return zero;
        if (j != n - 1) {
            Complex inv = cdiv({1.0, 0.0}, a(j, j));
            for (std::int32_t i = j + 1; i < n; ++i) a(i, j) = cmul(a(i, j), inv);
        }
    }
    for (std::int32_t j = 0; j < n; ++j) d = cmul(d, a(j, j));
    return d;
}

// Gaussian elimination with full pivoting.
inline std::int32_t rank(Complex* data, std::int32_t m, std::int32_t n) {
    Grid a(data, n);
    std::int32_t count = 0;
    for (std::int32_t k = 0; k < (m < n ? m : n); ++k) {
        std::int32_t prow = k, pcol = k;
        double big = magnitude1(a(k, k));
        for (std::int32_t i = k; i < m; ++i)
            for (std::int32_t j = k; j < n; ++j)
                if (magnitude1(a(i, j)) > big) {
                    big = magnitude1(a(i, j));
                    prow = i;
                    pcol = j;
                }
        if (prow != k) a.swapRows(prow, k);
        if (pcol != k) a.swapCols(pcol, k, m);
        if (magnitude1(a(k, k)) < 1e-10) break;
        Complex pivot = a(k, k);
        for (std::int32_t c = 0; c < n; ++c) a(k, c) = cdiv(a(k, c), pivot);
        for (std::int32_t i = k + 1; i < m; ++i) {
            Complex f = a(i, k);
            for (std::int32_t c = 0; c < n; ++c) a(i, c) = csub(a(i, c), cmul(f, a(k, c)));
        }
        for (std::int32_t j = k + 1; j < n; ++j)
            for (std::int32_t r = 0; r < m; ++r) a(r, j) = csub(a(r, j), cmul(a(r, j), a(r, k)));
        ++count;
    }
    return count;
}

}  // namespace reference
