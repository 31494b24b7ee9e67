// Every path of the dense kernels gives the bits of the plain loops (the
// product below, the eliminations of matrix_kernels_plain.h, which small
// matrices run): each instruction set this processor has, one thread or
// several, packed tiles or the plain product, real operands or complex ones,
// over random values and over zeros of both signs, huge and tiny values,
// infinities and NaN. (A NaN's sign and payload are not compared: only that
// both sides are NaN.)
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/interrupt.h"
#include "value/dense.h"
#include "value/matrix_kernels.h"
#include "value/matrix_kernels_plain.h"

namespace {

using Matrix = std::vector<Complex>;

// c (zero on entry) += a . b, each element summed over k from 0 upward.
void plainProduct(const Complex* a, const Complex* b, Complex* c, int m, int k, int n) {
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            for (int kk = 0; kk < k; ++kk) {
                Complex p = a[std::size_t(i) * k + kk], q = b[std::size_t(kk) * n + j];
                Complex& out = c[std::size_t(i) * n + j];
                out.re += p.re * q.re - p.im * q.im;
                out.im += p.re * q.im + p.im * q.re;
            }
}

bool sameBits(double x, double y) {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y) || (std::isnan(x) && std::isnan(y));
}

// "" when equal, else where and how they differ.
std::string difference(const Matrix& want, const Matrix& got) {
    if (want.size() != got.size()) return "sizes differ";
    for (std::size_t i = 0; i < want.size(); ++i)
        if (!sameBits(want[i].re, got[i].re) || !sameBits(want[i].im, got[i].im))
            return "element " + std::to_string(i) + ": want " + std::to_string(want[i].re) + "," +
                   std::to_string(want[i].im) + " got " + std::to_string(got[i].re) + "," + std::to_string(got[i].im);
    return "";
}

enum class Fill { Complex, Real, Integers, Sparse, RealExtremes, Special, RealSpecial };
const Fill kFills[] = {Fill::Complex,      Fill::Real,    Fill::Integers,   Fill::Sparse,
                       Fill::RealExtremes, Fill::Special, Fill::RealSpecial};
const char* const kFillNames[] = {"complex", "real", "integers", "sparse", "real extremes", "special", "real special"};

Matrix make(Fill fill, std::size_t count, std::mt19937& gen) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double extremes[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1e300, -1e300, 1e-310, -1e-310, 3.0};
    const double specials[] = {0.0, -0.0, 1.0, -2.0, 1e300, -1e-310, inf, -inf, nan, 0.25};
    std::uniform_real_distribution<double> u(-1, 1);
    std::uniform_int_distribution<int> pick(0, 9), small(-2, 2);
    auto signedZero = [&] { return pick(gen) < 5 ? 0.0 : -0.0; };
    Matrix m(count);
    for (Complex& z : m) {
        switch (fill) {
        case Fill::Complex: z = {u(gen), u(gen)}; break;
        case Fill::Real: z = {u(gen) * 1e3, signedZero()}; break;
        case Fill::Integers: z = {double(small(gen)), pick(gen) < 7 ? signedZero() : double(small(gen))}; break;
        case Fill::Sparse: z = pick(gen) < 7 ? Complex{signedZero(), signedZero()} : Complex{u(gen), u(gen)}; break;
        case Fill::RealExtremes: z = {extremes[pick(gen)], signedZero()}; break;
        case Fill::Special: z = {specials[pick(gen)], pick(gen) < 5 ? signedZero() : specials[pick(gen)]}; break;
        // Real, but not all finite: these must not take the real-only tiles.
        case Fill::RealSpecial: z = {specials[pick(gen)], signedZero()}; break;
        }
    }
    return m;
}

// The plans that reach every path with small matrices: blocks of a few
// elements, packing, split rows and threads from the smallest size, for each
// instruction set with one and with three threads; and the default plan, with
// the plain loops for small matrices.
std::vector<dense::Plan> everyPath() {
    std::vector<dense::Plan> plans;
    for (int isa = 0; isa <= int(dense::processorIsa()); ++isa)
        for (int threads : {1, 3}) {
            dense::Plan p = dense::defaultPlan();
            p.isa = dense::Isa(isa);
            p.threads = threads;
            p.packedFrom = p.threadedFrom = p.splitFrom = p.stepThreadedFrom = 0;
            p.kc = 7;
            p.nc = 20;
            p.mc = 9;
            plans.push_back(p);
        }
    plans.push_back(dense::defaultPlan());
    return plans;
}

std::string describe(const dense::Plan& p, Fill fill) {
    return std::string(dense::isaName(p.isa)) + ", " + std::to_string(p.threads) + " threads, packed from " +
           std::to_string(p.packedFrom) + ", " + kFillNames[int(fill)];
}

class PlanScope {
public:
    explicit PlanScope(const dense::Plan& p) : saved_(dense::plan()) { dense::plan() = p; }
    ~PlanScope() { dense::plan() = saved_; }

private:
    dense::Plan saved_;
};

TEST(Dense, ProductMatchesThePlainSumOnEveryPath) {
    struct Shape {
        int m, k, n;
    };
    const Shape shapes[] = {{1, 1, 1}, {2, 3, 4}, {5, 1, 7}, {9, 13, 17}, {17, 33, 5}, {33, 16, 41}, {40, 70, 36}};
    std::mt19937 gen(18);
    for (const dense::Plan& plan : everyPath()) {
        PlanScope scope(plan);
        for (Fill fill : kFills)
            for (const Shape& s : shapes) {
                Matrix a = make(fill, std::size_t(s.m) * s.k, gen), b = make(fill, std::size_t(s.k) * s.n, gen);
                // These run on the real-only tiles, whose sums must be the
                // complex loop's: overflows, cancellations to zeros of either
                // sign, -0 imaginary parts.
                if (fill == Fill::Real || fill == Fill::RealExtremes) {
                    ASSERT_TRUE(dense::realAndFinite(a.data(), a.size()) && dense::realAndFinite(b.data(), b.size()));
                }
                Matrix want(std::size_t(s.m) * s.n, Complex{0, 0}), got = want;
                plainProduct(a.data(), b.data(), want.data(), s.m, s.k, s.n);
                ASSERT_TRUE(dense::product(a.data(), b.data(), got.data(), s.m, s.k, s.n));
                ASSERT_EQ(difference(want, got), "")
                    << describe(plan, fill) << ", " << s.m << "x" << s.k << " . " << s.k << "x" << s.n;
            }
    }
}

TEST(Dense, InverseAndDeterminantMatchTheRuleOnEveryPath) {
    std::mt19937 gen(14);
    for (const dense::Plan& plan : everyPath()) {
        PlanScope scope(plan);
        for (Fill fill : kFills)
            for (int n : {1, 2, 3, 5, 8, 9, 17, 40}) {
                const Matrix m = make(fill, std::size_t(n) * n, gen);
                const std::string where = describe(plan, fill) + ", n = " + std::to_string(n);
                Matrix want = m, got = m;
                bool invertible = plainInvert(want.data(), n);
                ASSERT_EQ(invertInPlace(got.data(), n), invertible ? KernelOutcome::Done : KernelOutcome::Singular)
                    << where;
                if (invertible) {
                    ASSERT_EQ(difference(want, got), "") << "inverse, " << where;
                }
                want = got = m;
                Complex d, w = plainDeterminant(want.data(), n);
                ASSERT_EQ(determinantInPlace(got.data(), n, d), KernelOutcome::Done);
                ASSERT_EQ(difference({w}, {d}), "") << "determinant, " << where;
                // A decomposition that ran to the end holds the same factors.
                if (w.re != 0.0 || w.im != 0.0) {
                    ASSERT_EQ(difference(want, got), "") << "factors, " << where;
                }
            }
    }
}

TEST(Dense, RankMatchesTheRuleOnEveryPath) {
    struct Shape {
        int m, n;
    };
    const Shape shapes[] = {{1, 5}, {5, 1}, {3, 7}, {9, 4}, {17, 17}, {40, 23}};
    std::mt19937 gen(16);
    for (const dense::Plan& plan : everyPath()) {
        PlanScope scope(plan);
        for (Fill fill : kFills)
            for (const Shape& s : shapes)
                for (bool deficient : {false, true}) {
                    Matrix want = make(fill, std::size_t(s.m) * s.n, gen);
                    // Every third row a copy of the first: the rank falls short.
                    if (deficient)
                        for (int r = 3; r < s.m; r += 3)
                            for (int c = 0; c < s.n; ++c) want[std::size_t(r) * s.n + c] = want[c];
                    Matrix got = want;
                    std::int32_t rank = -1, wantRank = plainRank(want.data(), s.m, s.n);
                    ASSERT_EQ(rankInPlace(got.data(), s.m, s.n, rank), KernelOutcome::Done);
                    ASSERT_EQ(rank, wantRank) << describe(plan, fill);
                    ASSERT_EQ(difference(want, got), "") << describe(plan, fill) << ", " << s.m << "x" << s.n;
                }
    }
}

TEST(Dense, AnInterruptRequestStopsEveryKernel) {
    dense::Plan p = dense::defaultPlan();
    p.packedFrom = 0;
    PlanScope scope(p);
    std::mt19937 gen(3);
    const int n = 30;
    Matrix a = make(Fill::Complex, n * n, gen), c(n * n, Complex{0, 0});
    Complex d;
    std::int32_t rank;
    requestInterrupt();
    EXPECT_FALSE(dense::product(a.data(), a.data(), c.data(), n, n, n));
    EXPECT_EQ(invertInPlace(Matrix(a).data(), n), KernelOutcome::Interrupted);
    EXPECT_EQ(determinantInPlace(Matrix(a).data(), n, d), KernelOutcome::Interrupted);
    EXPECT_EQ(rankInPlace(Matrix(a).data(), n, n, rank), KernelOutcome::Interrupted);
    clearInterrupt();
    EXPECT_TRUE(dense::product(a.data(), a.data(), c.data(), n, n, n));
}

}  // namespace
