// The dense kernels on each instruction set this processor has, one thread
// and all of them: the 800 x 800 complex and real products and the 400 x 400
// inverse, determinant and rank, in milliseconds (process CPU time and wall
// time, best of the repeats) and GFLOP/s for the products.
// Build: ninja bench_dense; run: bench_dense [repeats].
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "value/dense.h"
#include "value/matrix_kernels.h"

namespace {

struct Times {
    double cpu = 1e30, wall = 1e30;
};

double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

template <class F>
Times best(int repeats, F f) {
    Times t;
    for (int i = 0; i < repeats; ++i) {
        double c0 = cpuSeconds();
        auto w0 = std::chrono::steady_clock::now();
        f();
        std::chrono::duration<double> w = std::chrono::steady_clock::now() - w0;
        double c = cpuSeconds() - c0;
        if (c < t.cpu) t.cpu = c;
        if (w.count() < t.wall) t.wall = w.count();
    }
    return t;
}

std::vector<Complex> filled(int rows, int cols, bool complex, bool diagonal) {
    std::mt19937 gen(1);
    std::uniform_real_distribution<double> u(-0.5, 0.5);
    std::vector<Complex> m(std::size_t(rows) * cols);
    for (Complex& z : m) z = {u(gen), complex ? u(gen) : 0.0};
    if (diagonal)
        for (int i = 0; i < rows && i < cols; ++i) m[std::size_t(i) * cols + i].re += 4.0;
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
    const int n = 800, e = 400;
    std::printf("%-8s %-7s | %-30s | %-30s | %-25s %-25s %-25s\n", "isa", "threads", "product complex 800 cpu/wall ms",
                "product real 800 cpu/wall ms", "inv 400 complex / real", "det 400", "rank 400");
    for (int isa = 0; isa <= int(dense::processorIsa()); ++isa) {
        for (int threads : {1, dense::defaultPlan().threads}) {
            dense::plan() = dense::defaultPlan();
            dense::plan().isa = dense::Isa(isa);
            dense::plan().threads = threads;
            std::printf("%-8s %-7d |", dense::isaName(dense::Isa(isa)), threads);
            for (bool complex : {true, false}) {
                std::vector<Complex> a = filled(n, n, complex, false), b = filled(n, n, complex, false);
                std::vector<Complex> c(a.size());
                Times t = best(repeats, [&] {
                    std::fill(c.begin(), c.end(), Complex{0, 0});
                    dense::product(a.data(), b.data(), c.data(), n, n, n);
                });
                double flops = (complex ? 8.0 : 2.0) * n * n * n;
                std::printf(" %6.1f %6.1f ms %5.1f GFLOP/s |", t.cpu * 1e3, t.wall * 1e3, flops / t.wall * 1e-9);
            }
            for (int kernel = 0; kernel < 3; ++kernel) {
                std::printf(" ");
                for (bool complex : {true, false}) {
                    std::vector<Complex> a = filled(e, e, complex, true), work;
                    Complex d;
                    std::int32_t r;
                    Times t = best(repeats, [&] {
                        work = a;
                        if (kernel == 0) invertInPlace(work.data(), e);
                        if (kernel == 1) determinantInPlace(work.data(), e, d);
                        if (kernel == 2) rankInPlace(work.data(), e, e, r);
                    });
                    std::printf("%5.1f %5.1f%s", t.cpu * 1e3, t.wall * 1e3, complex ? " / " : "  ");
                }
            }
            std::printf("\n");
        }
    }
    return 0;
}
