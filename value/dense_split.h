// A complex matrix held split for the row kernels: each row is its real
// parts followed by its imaginary parts, both padded to a multiple of eight
// and aligned to 64 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "value/value.h"

namespace dense {

// Doubles aligned to 64 bytes, for the kernels' aligned loads.
struct AlignedFree {
    void operator()(double* p) const;
};
using AlignedBuffer = std::unique_ptr<double[], AlignedFree>;
AlignedBuffer alignedDoubles(std::size_t count);

class SplitMatrix {
public:
    // A copy of data (rows x cols, row by row), or zeros when data is null.
    SplitMatrix(const Complex* data, std::int32_t rows, std::int32_t cols);

    std::int32_t rows() const { return rows_; }
    std::int32_t cols() const { return cols_; }
    std::int64_t stride() const { return stride_; }  // padded length of a row's parts

    double* re(std::int32_t r) { return store_.get() + 2 * stride_ * r; }
    double* im(std::int32_t r) { return re(r) + stride_; }
    const double* re(std::int32_t r) const { return store_.get() + 2 * stride_ * r; }
    const double* im(std::int32_t r) const { return re(r) + stride_; }

    void swapRows(std::int32_t r1, std::int32_t r2);
    void swapCols(std::int32_t c1, std::int32_t c2);
    // Row `to` becomes a copy of row `row` of `from` (of as many columns).
    void copyRow(std::int32_t to, const SplitMatrix& from, std::int32_t row);
    void copyTo(Complex* data) const;

private:
    std::int32_t rows_, cols_;
    std::int64_t stride_;
    AlignedBuffer store_;
};

}  // namespace dense
