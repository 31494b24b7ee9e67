// The kernels that each instruction set provides, as one table per set. The
// tables live in files compiled for their own set (dense_sse2.cpp,
// dense_avx2.cpp, dense_avx512.cpp); the drivers (dense_product.cpp,
// matrix_kernels.cpp) are compiled for the baseline and pick a table at run
// time, so the program runs on any x86-64 processor.
//
// Rows of the eliminations are held split: the real parts of a row in one
// array and the imaginary parts in another, both aligned to 64 bytes.
#pragma once

#include <cstdint>

// Files compiled for a wider set include nothing else of the program: an
// inline function compiled there could be chosen by the linker for the
// baseline callers too.
namespace dense {

enum class Isa : int;

struct Kernels {
    // Product tiles of mr x nr results over kc steps of k. The packed panels:
    // for each k, ap holds (re, im) of rows 0..mr-1 and bp holds the nr real
    // parts then the nr imaginary parts of the panel's columns. The tile holds
    // the mr x nr real sums, then the imaginary ones, row by row; each step
    // adds its product to them.
    int mr, nr;
    void (*complexTile)(std::int64_t kc, const double* ap, const double* bp, double* tile);
    // Real operands: ap holds mr values and bp nr values per k; the tile holds
    // the mr x nr sums.
    int realMr, realNr;
    void (*realTile)(std::int64_t kc, const double* ap, const double* bp, double* tile);

    // a -= f * p over columns [from, to), each element a complex product
    // subtracted from a.
    void (*subScaled)(double* are, double* aim, const double* pre, const double* pim, std::int32_t from,
                      std::int32_t to, double fr, double fi);
    // The same over [0, to), also returning the largest key of the updated
    // elements, key = |im| > |re| ? |im| : |re|, counted only where mask is
    // all ones (0 elsewhere), and the sum of those keys (NaN when a key is).
    void (*subScaledKeyed)(double* are, double* aim, const double* pre, const double* pim, std::int32_t to,
                           double fr, double fi, const double* mask, double* largest, double* sum);
    // A row of the rank's step k: when eliminating, a -= f * p over [0, to);
    // then over (k, to) a -= a * a(k) with a(k) as it stands after that. When
    // largest is given it receives the largest |re| + |im| over (k, to) of the
    // updated elements, NaN keys ignored (-infinity when there is none).
    void (*rankRow)(double* are, double* aim, const double* pre, const double* pim, std::int32_t k, std::int32_t to,
                    bool eliminate, double fr, double fi, double* largest);
};

const Kernels& kernels(Isa isa);
const Kernels& sse2Kernels();
const Kernels& avx2Kernels();
const Kernels& avx512Kernels();

}  // namespace dense
