// Dense matrix kernels at the speed of the processor: the matrix product and
// the row operations behind the inverse, the determinant and the rank.
//
// Every path gives the same bits as the plain loops: each product element is
// the sum over k from 0 upward of the complex products, real and imaginary
// parts summed separately, with no fused multiply-add; the eliminations make
// the same pivot choices and the same updates in the same order. Only the
// loop nesting, the vector width and the number of threads differ, and none
// of them changes a rounding.
#pragma once

#include <cstddef>
#include <cstdint>

#include "value/value.h"

namespace dense {

// The instruction sets with kernels of their own, narrowest first. The
// baseline runs on every x86-64 processor.
enum class Isa : int { Sse2 = 0, Avx2 = 1, Avx512 = 2 };
const char* isaName(Isa isa);
// The widest set this processor and its operating system support.
Isa processorIsa();

// How the kernels run, read at the start of each operation. The defaults
// suit this machine; tests lower the sizes so that small matrices reach the
// packed, blocked and threaded paths.
struct Plan {
    Isa isa;
    int threads;                // at most this many threads
    std::int64_t packedFrom;    // product: multiply-adds from which tiles run
    std::int64_t threadedFrom;  // product: multiply-adds worth a second thread
    std::int64_t splitFrom;         // eliminations: elements from which rows are split and vectorised
    std::int64_t stepThreadedFrom;  // eliminations: elements a step updates, worth a second thread
    int kc, nc, mc;             // product blocks: inner length, columns, rows
};
Plan& plan();
Plan defaultPlan();

// c (m x n, every element 0 + 0i on entry) += a (m x k) . b (k x n).
// Returns false when an interrupt request stopped it; c is then incomplete.
bool product(const Complex* a, const Complex* b, Complex* c, std::int32_t m, std::int32_t k, std::int32_t n);

// True when every imaginary part is exactly zero and every part is finite:
// products of such values need only their real parts (see product()).
bool realAndFinite(const Complex* a, std::size_t count);

}  // namespace dense
