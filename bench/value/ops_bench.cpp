// Timings of the element-wise operators and the matrix product on large
// matrices and of scalar arithmetic, the interpreter's commonest operation.
// Build: ninja bench_value; run: bench_value [size [product size]].
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "value/ops.h"

namespace {

template <class F>
double millisPerCall(int repeats, F f) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) f();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count() / repeats;
}

NRefPtr filled(int n, double seed) {
    NNum* m = new NNum(n, n, NNum::Uninit{});
    for (std::size_t i = 0; i < m->count(); ++i) m->data[i] = {seed + i * 1e-6, seed - i * 1e-6};
    return NRefPtr(m);
}

}  // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    NRefPtr a = filled(n, 1.5), b = filled(n, 2.5), s = makeNum(3.0);
    volatile double sink = 0;
    struct Case {
        const char* name;
        Kernel2 kernel;
    } cases[] = {{"add", k_add}, {"sub", k_sub}, {"mul", k_mul}, {"div", k_div}, {"eq", k_eq}, {"lt", nullptr}};
    for (const Case& c : cases) {
        if (!c.kernel) continue;
        double ms = millisPerCall(20, [&] { sink = sink + asNum(op2(1, a, b, c.kernel))->data[0].re; });
        double msScalar = millisPerCall(20, [&] { sink = sink + asNum(op2(1, a, s, c.kernel))->data[0].re; });
        std::printf("%-4s %dx%d: matrix-matrix %.2f ms, matrix-scalar %.2f ms\n", c.name, n, n, ms, msScalar);
    }
    double neg = millisPerCall(20, [&] { sink = sink + asNum(op1(1, a, k_neg))->data[0].re; });
    std::printf("neg  %dx%d: %.2f ms\n", n, n, neg);
    int pn = argc > 2 ? std::atoi(argv[2]) : n / 4;
    NRefPtr pa = filled(pn, 1.0), pb = filled(pn, 2.0);
    double prod = millisPerCall(3, [&] { sink = sink + asNum(matrixProduct(1, pa, pb))->data[0].re; });
    std::printf("product %dx%d: %.2f ms\n", pn, pn, prod);
    NRefPtr x = makeNum(1.0), y = makeNum(2.0);
    double scalar = millisPerCall(1000000, [&] { sink = sink + asNum(op2(1, x, y, k_add))->data[0].re; });
    std::printf("scalar add: %.1f ns\n", scalar * 1e6);
    return 0;
}
