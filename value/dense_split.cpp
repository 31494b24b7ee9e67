#include "value/dense_split.h"

#include <algorithm>
#include <new>

namespace dense {

void AlignedFree::operator()(double* p) const { ::operator delete[](p, std::align_val_t(64)); }

AlignedBuffer alignedDoubles(std::size_t count) {
    return AlignedBuffer(static_cast<double*>(::operator new[](count * sizeof(double), std::align_val_t(64))));
}

SplitMatrix::SplitMatrix(const Complex* data, std::int32_t rows, std::int32_t cols)
    : rows_(rows), cols_(cols), stride_((std::int64_t{cols} + 7) / 8 * 8) {
    const std::size_t count = static_cast<std::size_t>(2 * stride_ * rows);
    store_ = alignedDoubles(count);
    std::fill(store_.get(), store_.get() + count, 0.0);
    if (!data) return;
    for (std::int32_t r = 0; r < rows; ++r) {
        const Complex* row = data + static_cast<std::size_t>(r) * cols;
        double* pr = re(r);
        double* pi = im(r);
        for (std::int32_t c = 0; c < cols; ++c) {
            pr[c] = row[c].re;
            pi[c] = row[c].im;
        }
    }
}

void SplitMatrix::swapRows(std::int32_t r1, std::int32_t r2) { std::swap_ranges(re(r1), re(r1) + 2 * stride_, re(r2)); }

void SplitMatrix::swapCols(std::int32_t c1, std::int32_t c2) {
    for (std::int32_t r = 0; r < rows_; ++r) {
        std::swap(re(r)[c1], re(r)[c2]);
        std::swap(im(r)[c1], im(r)[c2]);
    }
}

void SplitMatrix::copyRow(std::int32_t to, const SplitMatrix& from, std::int32_t row) {
    std::copy(from.re(row), from.re(row) + cols_, re(to));
    std::copy(from.im(row), from.im(row) + cols_, im(to));
}

void SplitMatrix::copyTo(Complex* data) const {
    for (std::int32_t r = 0; r < rows_; ++r) {
        Complex* row = data + static_cast<std::size_t>(r) * cols_;
        const double* pr = re(r);
        const double* pi = im(r);
        for (std::int32_t c = 0; c < cols_; ++c) row[c] = {pr[c], pi[c]};
    }
}

}  // namespace dense
