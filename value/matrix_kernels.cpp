// Inverse, determinant and rank. Each works on a split copy of the matrix
// (value/dense_split.h) whose row updates run on the dense kernels, shared
// among threads by rows once a step is large enough; the pivot bookkeeping
// stays here, one step at a time.
//
// The next pivot is searched for while the rows are updated: each row
// reports the largest key among its updated elements, and the pivot is found
// from those without another sweep over the matrix. Where that could differ
// from the element-by-element rule (a NaN among the candidates of the
// inverse), the rule itself runs.
#include "value/matrix_kernels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "platform/interrupt.h"
#include "value/dense.h"
#include "value/dense_isa.h"
#include "value/dense_split.h"
#include "value/dense_team.h"
#include "value/matrix_kernels_plain.h"
#include "value/ops.h"

namespace {

using dense::Kernels;
using dense::SplitMatrix;
using dense::Team;

// Pivot magnitude used by the determinant and the rank.
inline double magnitude1(double re, double im) { return std::fabs(re) + std::fabs(im); }

// The inverse's pivot key: the larger of the two magnitudes, written as the
// rule compares them (a NaN imaginary part leaves the real one).
inline double inverseKey(double re, double im) {
    double x = std::fabs(re), y = std::fabs(im);
    return y > x ? y : x;
}

struct Pivot {
    std::int32_t row = -1, col = -1;
};

// What a row's update reports for the next pivot search, one cache line
// each, so that threads updating neighbouring rows do not share a line.
struct alignas(64) RowReport {
    double largest = 0.0;
    double sum = 0.0;
};
using Reports = std::vector<RowReport>;

// Small matrices run the plain loops: splitting them costs more than it saves.
bool small(std::int64_t rows, std::int64_t cols) { return rows * cols < dense::plan().splitFrom; }

// Threads for an operation whose steps update rows x cols elements: the
// members to use, 1 when a step is too small to share.
int membersFor(std::int64_t rows, std::int64_t cols) {
    const dense::Plan& p = dense::plan();
    if (rows * cols < p.stepThreadedFrom) return 1;
    return p.threads < rows ? p.threads : static_cast<int>(rows);
}

// Runs update(row) for every row in [first, last) except `skip`, shared among
// the members of the team when the rows hold enough elements to pay for it,
// in blocks of some thousands of elements.
template <class F>
void sweepRows(Team& team, std::int32_t first, std::int32_t last, std::int32_t cols, std::int32_t skip, F update) {
    const std::int64_t count = last - first;
    if (team.size() == 1 || count * cols < dense::plan().stepThreadedFrom) {
        for (std::int32_t r = first; r < last; ++r)
            if (r != skip) update(r);
        return;
    }
    const std::int64_t rowsPerBlock = 1 + 4096 / cols;
    auto block = [&](int, std::int64_t b) {
        const std::int64_t end = std::min<std::int64_t>(last, first + (b + 1) * rowsPerBlock);
        for (std::int64_t r = first + b * rowsPerBlock; r < end; ++r)
            if (r != skip) update(static_cast<std::int32_t>(r));
    };
    team.forEach((count + rowsPerBlock - 1) / rowsPerBlock, block);
}

// ---------------------------------------------------------------- inverse

// The element-by-element rule over the rows and columns not yet chosen: an
// element becomes the candidate when either magnitude is at least the best
// so far, which becomes the candidate's larger magnitude. Ties go to the
// later element in row-by-row order.
Pivot searchInversePivot(const SplitMatrix& a, const std::vector<std::int32_t>& useCount) {
    const std::int32_t n = a.rows();
    double big = 0.0;
    Pivot p;
    for (std::int32_t j = 0; j < n; ++j) {
        if (useCount[j] == 1) continue;
        const double* re = a.re(j);
        const double* im = a.im(j);
        for (std::int32_t k = 0; k < n; ++k) {
            if (useCount[k] != 0) continue;
            double x = std::fabs(re[k]), y = std::fabs(im[k]);
            if (x >= big || y >= big) {
                big = y > x ? y : x;
                p = {j, k};
            }
        }
    }
    return p;
}

// The same choice from the rows' largest keys: the last row holding the
// largest key, and in it the last candidate column with that key. Without a
// NaN real part among the candidates, every key is compared as a plain
// number and the rule keeps the last of the largest.
Pivot inversePivotFromRows(const SplitMatrix& a, const std::vector<std::int32_t>& useCount,
                           const Reports& reports) {
    const std::int32_t n = a.rows();
    double best = -1.0;
    std::int32_t row = -1;
    for (std::int32_t r = 0; r < n; ++r) {
        if (useCount[r] == 1) continue;
        if (std::isnan(reports[r].sum)) return searchInversePivot(a, useCount);
        if (reports[r].largest >= best) {
            best = reports[r].largest;
            row = r;
        }
    }
    if (row < 0) return {};
    for (std::int32_t c = n - 1; c >= 0; --c)
        if (useCount[c] == 0 && inverseKey(a.re(row)[c], a.im(row)[c]) == best) return {row, c};
    return searchInversePivot(a, useCount);  // not reached: the row holds its largest key
}

}  // namespace

KernelOutcome invertInPlace(Complex* data, std::int32_t n) {
    if (n == 0) return KernelOutcome::Done;
    if (small(n, n)) return plainInvert(data, n) ? KernelOutcome::Done : KernelOutcome::Singular;
    SplitMatrix a(data, n, n);
    const Kernels& kern = dense::kernels(dense::plan().isa);
    std::vector<std::int32_t> useCount(n, 0), pivotRow(n, 0), pivotCol(n, 0);
    // All ones over the columns not yet chosen, zero elsewhere.
    dense::AlignedBuffer mask = dense::alignedDoubles(a.stride());
    for (std::int64_t c = 0; c < a.stride(); ++c) mask[c] = c < n ? std::bit_cast<double>(~0ULL) : 0.0;
    Reports reports(n);
    Team team(membersFor(n, n));

    Pivot next = searchInversePivot(a, useCount);
    for (std::int32_t i = 0; i < n; ++i) {
        if (interruptPending()) return KernelOutcome::Interrupted;
        // Only NaN elements remain: no element can serve as pivot.
        if (next.row < 0) return KernelOutcome::Singular;
        const std::int32_t irow = next.row, icol = next.col;
        ++useCount[icol];
        mask[icol] = 0.0;
        if (irow != icol) a.swapRows(irow, icol);
        pivotRow[i] = irow;
        pivotCol[i] = icol;
        double* pre = a.re(icol);
        double* pim = a.im(icol);
        const Complex pivot{pre[icol], pim[icol]};
        if (pivot.re == 0.0 && pivot.im == 0.0) return KernelOutcome::Singular;
        const Complex pivinv = cdiv({1.0, 0.0}, pivot);
        // Setting the pivot to 1 first makes the inverse build up in place.
        pre[icol] = 1.0;
        pim[icol] = 0.0;
        for (std::int32_t c = 0; c < n; ++c) {
            const Complex z = cmul({pre[c], pim[c]}, pivinv);
            pre[c] = z.re;
            pim[c] = z.im;
        }
        const bool searchNext = i + 1 < n;
        sweepRows(team, 0, n, n, icol, [&](std::int32_t r) {
            double* re = a.re(r);
            double* im = a.im(r);
            const double fr = re[icol], fi = im[icol];
            re[icol] = 0.0;
            im[icol] = 0.0;
            if (searchNext && useCount[r] != 1)
                kern.subScaledKeyed(re, im, pre, pim, n, fr, fi, mask.get(), &reports[r].largest,
                                    &reports[r].sum);
            else
                kern.subScaled(re, im, pre, pim, 0, n, fr, fi);
        });
        if (searchNext) next = inversePivotFromRows(a, useCount, reports);
    }
    for (std::int32_t l = n - 1; l >= 0; --l)
        if (pivotRow[l] != pivotCol[l]) a.swapCols(pivotRow[l], pivotCol[l]);
    a.copyTo(data);
    return KernelOutcome::Done;
}

// ---------------------------------------------------------------- determinant

// Crout's method computes column j from the columns before it; here the same
// subtractions are made as soon as their factors are final, step by step
// (each element still receives them for k = 0, 1, ... in turn), so that one
// sweep over the rows below the pivot serves a whole step.
KernelOutcome determinantInPlace(Complex* data, std::int32_t n, Complex& determinant) {
    if (small(n, n)) {
        determinant = plainDeterminant(data, n);
        return KernelOutcome::Done;
    }
    const Complex zero{0.0, 0.0};
    std::vector<double> scale;
    if (!determinantRowScales(data, n, scale)) {
        determinant = zero;
        return KernelOutcome::Done;
    }
    SplitMatrix a(data, n, n);
    const Kernels& kern = dense::kernels(dense::plan().isa);
    Reports merit(n);  // each row's figure of merit in the next column
    for (std::int32_t i = 0; i < n; ++i) merit[i].largest = scale[i] * magnitude1(a.re(i)[0], a.im(i)[0]);
    Team team(membersFor(n, n));
    Complex d{1.0, 0.0};
    for (std::int32_t j = 0; j < n; ++j) {
        if (interruptPending()) return KernelOutcome::Interrupted;
        // The row with the greatest figure of merit, ties to the later row.
        double big = 0.0;
        std::int32_t imax = j;
        for (std::int32_t i = j; i < n; ++i) {
            if (merit[i].largest >= big) {
                big = merit[i].largest;
                imax = i;
            }
        }
        if (imax != j) {
            a.swapRows(imax, j);
            d = {-d.re, -d.im};
            scale[imax] = scale[j];
        }
        if (magnitude1(a.re(j)[j], a.im(j)[j]) < 1e-10) {
            a.copyTo(data);
            determinant = zero;
            return KernelOutcome::Done;
        }
        if (j == n - 1) break;
        const Complex inv = cdiv({1.0, 0.0}, {a.re(j)[j], a.im(j)[j]});
        const double* ure = a.re(j);
        const double* uim = a.im(j);
        sweepRows(team, j + 1, n, n - j, -1, [&](std::int32_t i) {
            double* re = a.re(i);
            double* im = a.im(i);
            const Complex l = cmul({re[j], im[j]}, inv);
            re[j] = l.re;
            im[j] = l.im;
            kern.subScaled(re, im, ure, uim, j + 1, n, l.re, l.im);
            merit[i].largest = scale[i] * magnitude1(re[j + 1], im[j + 1]);
        });
    }
    for (std::int32_t j = 0; j < n; ++j) d = cmul(d, {a.re(j)[j], a.im(j)[j]});
    a.copyTo(data);
    determinant = d;
    return KernelOutcome::Done;
}

// ---------------------------------------------------------------- rank

namespace {

// The first element of greatest |re| + |im| over rows and columns from k,
// starting with (k, k): only a strictly greater magnitude replaces it.
Pivot searchRankPivot(const SplitMatrix& a, std::int32_t k) {
    Pivot p{k, k};
    double big = magnitude1(a.re(k)[k], a.im(k)[k]);
    for (std::int32_t i = k; i < a.rows(); ++i)
        for (std::int32_t j = k; j < a.cols(); ++j) {
            double mag = magnitude1(a.re(i)[j], a.im(i)[j]);
            if (mag > big) {
                big = mag;
                p = {i, j};
            }
        }
    return p;
}

// The same choice from the rows' largest magnitudes (NaN ones left out, as
// the rule never takes them): the first row holding the greatest, and in it
// the first column with that magnitude. A NaN at (k, k) is never replaced.
Pivot rankPivotFromRows(const SplitMatrix& a, std::int32_t k, const Reports& reports) {
    const double start = magnitude1(a.re(k)[k], a.im(k)[k]);
    if (std::isnan(start)) return {k, k};
    double best = start;
    std::int32_t row = -1;
    for (std::int32_t r = k; r < a.rows(); ++r) {
        if (reports[r].largest > best) {
            best = reports[r].largest;
            row = r;
        }
    }
    if (row < 0) return {k, k};
    for (std::int32_t c = k; c < a.cols(); ++c)
        if (magnitude1(a.re(row)[c], a.im(row)[c]) == best) return {row, c};
    return searchRankPivot(a, k);  // not reached: the row holds its largest
}

}  // namespace

KernelOutcome rankInPlace(Complex* data, std::int32_t m, std::int32_t n, std::int32_t& rank) {
    rank = 0;
    const std::int32_t steps = m < n ? m : n;
    if (steps == 0) return KernelOutcome::Done;
    if (small(m, n)) {
        rank = plainRank(data, m, n);
        return KernelOutcome::Done;
    }
    SplitMatrix a(data, m, n);
    const Kernels& kern = dense::kernels(dense::plan().isa);
    SplitMatrix pivotRow(nullptr, 1, n);
    Reports reports(m);
    Team team(membersFor(m, n));
    Pivot next = searchRankPivot(a, 0);
    for (std::int32_t k = 0; k < steps; ++k) {
        if (interruptPending()) return KernelOutcome::Interrupted;
        if (next.row != k) a.swapRows(next.row, k);
        if (next.col != k) a.swapCols(next.col, k);
        double* kre = a.re(k);
        double* kim = a.im(k);
        if (magnitude1(kre[k], kim[k]) < 1e-10) break;
        // The pivot is read once: dividing it by itself first would leave the
        // rest of the row unscaled.
        const Complex pivot{kre[k], kim[k]};
        for (std::int32_t c = 0; c < n; ++c) {
            const Complex z = cdiv({kre[c], kim[c]}, pivot);
            kre[c] = z.re;
            kim[c] = z.im;
        }
        // The rows below subtract row k as it stands now, before row k's own
        // clearing below.
        pivotRow.copyRow(0, a, k);
        const double* pre = pivotRow.re(0);
        const double* pim = pivotRow.im(0);
        const bool searchNext = k + 1 < steps;
        sweepRows(team, 0, m, n, -1, [&](std::int32_t r) {
            double* re = a.re(r);
            double* im = a.im(r);
            double* most = searchNext && r > k ? &reports[r].largest : nullptr;
            if (r > k)
                kern.rankRow(re, im, pre, pim, k, n, true, re[k], im[k], most);
            else
                kern.rankRow(re, im, nullptr, nullptr, k, n, false, 0.0, 0.0, nullptr);
        });
        ++rank;
        if (searchNext) next = rankPivotFromRows(a, k + 1, reports);
    }
    a.copyTo(data);
    return KernelOutcome::Done;
}
