// inv, det and rank against independent references: cofactor expansion in
// long double, the identity, and products of known rank.
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "builtins/matrix.h"
#include "math_call.h"

using namespace mathtest;

namespace {

using LC = std::complex<long double>;
using Square = std::vector<std::vector<LC>>;

// Determinant by expansion along the first row.
LC cofactorDet(const Square& a) {
    std::size_t n = a.size();
    if (n == 1) return a[0][0];
    LC sum = 0;
    for (std::size_t j = 0; j < n; ++j) {
        Square minor;
        for (std::size_t r = 1; r < n; ++r) {
            std::vector<LC> row;
            for (std::size_t c = 0; c < n; ++c)
                if (c != j) row.push_back(a[r][c]);
            minor.push_back(row);
        }
        LC term = a[0][j] * cofactorDet(minor);
        sum += (j % 2 == 0) ? term : -term;
    }
    return sum;
}

NRefPtr toValue(const Square& a) {
    int n = static_cast<int>(a.size());
    NNum* m = new NNum(n, n);
    NRefPtr p(m);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m->at(r, c) = {static_cast<double>(a[r][c].real()), static_cast<double>(a[r][c].imag())};
    return p;
}

Square randomSquare(std::mt19937& gen, int n, bool complex) {
    std::uniform_real_distribution<double> d(-2, 2);
    Square a(n, std::vector<LC>(n));
    for (auto& row : a)
        for (auto& e : row) e = LC(d(gen), complex ? d(gen) : 0.0);
    return a;
}

std::complex<double> at(const NNum& m, int r, int c) { return {m.at(r, c).re, m.at(r, c).im}; }

}  // namespace

TEST(MatrixLinear, DeterminantMatchesCofactorExpansion) {
    std::mt19937 gen(2024);
    for (int n = 1; n <= 6; ++n) {
        for (bool complex : {false, true}) {
            Square a = randomSquare(gen, n, complex);
            LC want = cofactorDet(a);
            std::complex<double> got = complex1(call(bi_det, {toValue(a)}));
            double scale = std::abs(static_cast<std::complex<double>>(want)) + 1e-300;
            EXPECT_LT(std::abs(got - std::complex<double>(want)) / scale, 1e-12) << "n=" << n;
        }
    }
    EXPECT_EQ(real1(call(bi_det, {mat(3, 3, {1, 2, 3, 0, 0, 0, 4, 5, 6})})), 0.0);
    EXPECT_EQ(real1(call(bi_det, {num(-3.5)})), -3.5);
    // Row swaps flip the sign.
    EXPECT_EQ(real1(call(bi_det, {mat(3, 3, {0, 1, 0, 1, 0, 0, 0, 0, 1})})), -1.0);
}

TEST(MatrixLinear, InverseTimesMatrixIsIdentity) {
    std::mt19937 gen(77);
    for (int n : {1, 2, 3, 5, 8, 12}) {
        for (bool complex : {false, true}) {
            Square a = randomSquare(gen, n, complex);
            NRefPtr av = toValue(a);
            NRefPtr xv = call(bi_inv, {av});
            const NNum& x = asMatrix(xv);
            for (int r = 0; r < n; ++r)
                for (int c = 0; c < n; ++c) {
                    std::complex<double> s = 0;
                    for (int k = 0; k < n; ++k) s += static_cast<std::complex<double>>(a[r][k]) * at(x, k, c);
                    EXPECT_LT(std::abs(s - std::complex<double>(r == c ? 1 : 0, 0)), 1e-10) << n;
                }
        }
    }
}

TEST(MatrixLinear, InverseCasesAndMessages) {
    // Pivots off the diagonal exercise the row and column bookkeeping.
    NRefPtr pv = call(bi_inv, {mat(3, 3, {0, 0, 2, 0, 5, 0, 4, 0, 0})});
    const NNum& p = asMatrix(pv);
    EXPECT_EQ(p.at(0, 2).re, 0.25);
    EXPECT_EQ(p.at(1, 1).re, 0.2);
    EXPECT_EQ(p.at(2, 0).re, 0.5);
    EXPECT_EQ(p.at(0, 0).re, 0.0);
    EXPECT_EQ(errorOf(bi_inv, {mat(2, 2, {NAN, NAN, NAN, NAN})}), err("Pivot error in inv()"));
}

TEST(MatrixLinear, RankOfProductsWithKnownRank) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> d(-1, 1);
    for (int rows : {1, 3, 6}) {
        for (int cols : {2, 4, 7}) {
            int full = rows < cols ? rows : cols;
            for (int r = 0; r <= full; ++r) {
                // (rows x r) times (r x cols) has rank r for random factors.
                std::vector<double> left(rows * r), right(r * cols);
                for (double& v : left) v = d(gen);
                for (double& v : right) v = d(gen);
                NNum* m = new NNum(cols, rows);
                NRefPtr mv(m);
                for (int i = 0; i < rows; ++i)
                    for (int j = 0; j < cols; ++j) {
                        double s = 0;
                        for (int k = 0; k < r; ++k) s += left[i * r + k] * right[k * cols + j];
                        m->at(i, j) = {s, r % 2 ? s / 3 : 0.0};
                    }
                EXPECT_EQ(real1(call(bi_rank, {mv})), r) << rows << "x" << cols << " rank " << r;
            }
        }
    }
    EXPECT_EQ(real1(call(bi_rank, {mat(3, 3, {1e-11, 0, 0, 0, 1e-11, 0, 0, 0, 1e-11})})), 0.0);
}
