// Constructors, shape queries, flips, sorting and eps.
#include <cmath>
#include <random>

#include "builtins/matrix.h"
#include "math_call.h"

using namespace mathtest;

namespace {
// Elements as "re" or "re+imi" text, row by row, rows separated by ';'.
std::string dump(const NRefPtr& v) {
    const NNum& m = asMatrix(v);
    std::string s;
    for (int r = 0; r < m.rows; ++r) {
        if (r) s += ";";
        for (int c = 0; c < m.cols; ++c) {
            if (c) s += " ";
            char buf[64];
            if (m.at(r, c).im == 0)
                std::snprintf(buf, sizeof buf, "%g", m.at(r, c).re);
            else
                std::snprintf(buf, sizeof buf, "%g%+gi", m.at(r, c).re, m.at(r, c).im);
            s += buf;
        }
    }
    return s;
}
}  // namespace

TEST(MatrixBuild, DiagonalAndBlockDiagonal) {
    EXPECT_EQ(dump(call(bi_diag, {mat(1, 3, {1, 2, 3})})), "1 0 0;0 2 0;0 0 3");
    EXPECT_EQ(dump(call(bi_diag, {mat(2, 1, {4, 5})})), "4 0;0 5");
    EXPECT_EQ(dump(call(bi_diag, {mat(2, 2, {1, 2, 3, 4}), num(9)})), "1 2 0;3 4 0;0 0 9");
    EXPECT_EQ(dump(call(bi_diag, {mat(1, 2, {1, 2}), mat(2, 1, {3, 4}), cnum(0, 1)})),
              "1 2 0 0;0 0 3 0;0 0 4 0;0 0 0 0+1i");
    EXPECT_EQ(errorOf(bi_diag, {}), err("Too few argument in diag()"));
    EXPECT_EQ(errorOf(bi_diag, {mat(2, 2, {1, 2, 3, 4})}), err("Bad argument in diag()"));
    EXPECT_EQ(errorOf(bi_diag, {makeString("v")}), err("Bad argument in diag()"));
    EXPECT_EQ(errorOf(bi_diag, {num(1), makeString("v")}), err("Bad argument in diag()"));
}

TEST(MatrixBuild, IdentityAndZeros) {
    EXPECT_EQ(dump(call(bi_Im, {num(3)})), "1 0 0;0 1 0;0 0 1");
    EXPECT_EQ(dump(call(bi_Zm, {num(2)})), "0 0;0 0");
    EXPECT_EQ(dump(call(bi_Zm, {num(2), num(3)})), "0 0 0;0 0 0");
    EXPECT_EQ(errorOf(bi_Zm, {num(0)}), err("Bad argument in Zm()"));
    EXPECT_EQ(errorOf(bi_Zm, {num(2), num(-1)}), err("Bad argument in Zm()"));
    EXPECT_EQ(errorOf(bi_Im, {num(0)}), err("Bad argument in Im()"));
    EXPECT_EQ(errorOf(bi_Im, {num(1.5)}), err("Cannot convert arg to integer"));
}

TEST(MatrixBuild, EpsReturnsThePreviousTolerance) {
    EXPECT_EQ(real1(call(bi_eps, {num(1e-9)})), 0.0);
    EXPECT_EQ(real1(call(bi_eps, {num(0.5)})), 1e-9);
    EXPECT_EQ(real1(call(bi_eps, {num(0)})), 0.5);
    for (NRefPtr bad : {cnum(1e-9, 1e-9), mat(1, 2, {1, 2}), makeString("1e-9")})
        EXPECT_EQ(errorOf(bi_eps, {bad}), err("Bad argument in eps()"));
    EXPECT_EQ(real1(call(bi_eps, {num(0)})), 0.0);  // the failed calls changed nothing
}

TEST(MatrixShape, SizesAndFlips) {
    NRefPtr a = mat(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(real1(call(bi_rows, {a})), 2.0);
    EXPECT_EQ(real1(call(bi_cols, {a})), 3.0);
    EXPECT_EQ(real1(call(bi_size, {a})), 6.0);
    EXPECT_EQ(dump(call(bi_flipv, {a})), "4 5 6;1 2 3");
    EXPECT_EQ(dump(call(bi_fliph, {a})), "3 2 1;6 5 4");
    EXPECT_EQ(dump(a), "1 2 3;4 5 6");
    EXPECT_EQ(errorOf(bi_rows, {makeString("ab")}), err("Bad argument in rows()"));
    EXPECT_EQ(errorOf(bi_cols, {makeString("ab")}), err("Bad argument in cols()"));
    EXPECT_EQ(errorOf(bi_size, {makeString("ab")}), err("Bad argument in size()"));
    EXPECT_EQ(errorOf(bi_flipv, {makeString("ab")}), err("Bad argument in flipv()"));
    EXPECT_EQ(errorOf(bi_fliph, {makeString("ab")}), err("Bad argument in fliph()"));
}

TEST(MatrixSort, WholeMatrixSortsEachLineAndDropsImaginaryParts) {
    NRefPtr a = mat(3, 2, {3, -1, 1, 5, 2, 0});
    EXPECT_EQ(dump(call(bi_sortv, {a})), "1 -1;2 0;3 5");
    EXPECT_EQ(dump(call(bi_sorth, {mat(2, 3, {3, 1, 2, 0, -4, 9})})), "1 2 3;-4 0 9");
    EXPECT_EQ(dump(call(bi_sortv, {mat(2, 1, {2, 1})})), "1;2");
    NNum* z = new NNum(2, 1);
    NRefPtr zv(z);
    z->data[0] = {2, 7};
    z->data[1] = {1, 8};
    EXPECT_EQ(dump(call(bi_sorth, {zv})), "1 2");
}

TEST(MatrixSort, ByKeyMovesWholeLines) {
    NNum* m = new NNum(3, 3);
    NRefPtr mv(m);
    double v[] = {5, 1, 9, 2, 3, 8, 7, 2, 4};
    for (int i = 0; i < 9; ++i) m->data[i] = {v[i], 0};
    m->at(0, 0).im = 1;  // complex values stay complex when lines move
    EXPECT_EQ(dump(call(bi_sortv, {mv, num(1)})), "5+1i 1 9;7 2 4;2 3 8");
    EXPECT_EQ(dump(call(bi_sorth, {mv, num(2)})), "1 9 5+1i;3 8 2;2 4 7");
    EXPECT_EQ(errorOf(bi_sortv, {mv, num(3)}), err("Bad argument in sortv()"));
    EXPECT_EQ(errorOf(bi_sortv, {mv, num(-1)}), err("Bad argument in sortv()"));
    EXPECT_EQ(errorOf(bi_sorth, {mv, num(3)}), err("Bad argument in sorth()"));
    EXPECT_EQ(errorOf(bi_sorth, {makeString("s")}), err("Bad argument in sorth()"));
    EXPECT_EQ(errorOf(bi_sortv, {mv, num(0.5)}), err("Cannot convert arg to integer"));
}

TEST(MatrixSort, NaNKeysSortLastWithoutBreakingTheSort) {
    std::mt19937 gen(3);
    NNum* m = new NNum(1, 500);
    NRefPtr mv(m);
    for (int i = 0; i < 500; ++i) m->data[i] = {i % 3 == 0 ? NAN : static_cast<double>(gen() % 50), 0};
    NRefPtr sv = call(bi_sortv, {mv});
    const NNum& s = asMatrix(sv);
    int nans = 0;
    for (int i = 0; i < 500; ++i) {
        if (std::isnan(s.data[i].re)) {
            ++nans;
            continue;
        }
        EXPECT_EQ(nans, 0) << "a number after a NaN at " << i;
        if (i > 0) {
            EXPECT_LE(s.data[i - 1].re, s.data[i].re);
        }
    }
    EXPECT_EQ(nans, 167);
    NRefPtr byKey = call(bi_sortv, {mv, num(0)});
    EXPECT_TRUE(std::isnan(asMatrix(byKey).data[499].re));
}
