// Subscript indices, part resolution, reads and in-place stores.
#include <gtest/gtest.h>

#include <cmath>

#include "value/subscript.h"
#include "value_helpers.h"

namespace {

using V = std::vector<double>;

NRefPtr twoByThree() { return realMatrix({{0, 1, 2}, {3, 4, 5}}); }

TEST(Subscript, IndexOfASubscriptValue) {
    EXPECT_EQ(subscriptIndex(1, makeNum(1.9)), 1);
    EXPECT_EQ(subscriptIndex(1, makeNum(-1.9)), -1);
    EXPECT_EQ(subscriptIndex(1, makeNum(4, 7)), 4);
    const char* range = "error [2]: Submatrix range error";
    EXPECT_EQ(errorOf([] { subscriptIndex(2, realMatrix({{1, 2}})); }), range);
    EXPECT_EQ(errorOf([] { subscriptIndex(2, makeString("1")); }), range);
    EXPECT_EQ(errorOf([] { subscriptIndex(2, NRefPtr()); }), range);
    EXPECT_EQ(errorOf([] { subscriptIndex(2, makeNum(NAN)); }), range);
    EXPECT_EQ(errorOf([] { subscriptIndex(2, makeNum(4294967296.0)); }), range);
}

TEST(Subscript, ReadsOfSubarraysAndBlocks) {
    NRefPtr x = twoByThree();
    NNum& m = num(x);
    EXPECT_EQ(reals(readSubarray(1, m, resolveSubarray(1, m, 3, 3))), V{3});
    NRefPtr all = readSubarray(1, m, resolveSubarray(1, m, -1, -1));
    EXPECT_SHAPE(all, 1, 6);
    EXPECT_EQ(reals(all), (V{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(reals(readSubarray(1, m, resolveSubarray(1, m, 2, 0))), (V{0, 1, 2}));

    NRefPtr row = readSubmatrix(1, m, resolveSubmatrix(1, m, 1, 1, -1, -1));
    EXPECT_SHAPE(row, 1, 3);
    EXPECT_EQ(reals(row), (V{3, 4, 5}));
    NRefPtr col = readSubmatrix(1, m, resolveSubmatrix(1, m, -1, -1, 2, 2));
    EXPECT_SHAPE(col, 2, 1);
    EXPECT_EQ(reals(col), (V{2, 5}));
    NRefPtr block = readSubmatrix(1, m, resolveSubmatrix(1, m, 1, 0, 2, 1));
    EXPECT_SHAPE(block, 2, 2);
    EXPECT_EQ(reals(block), (V{1, 2, 4, 5}));
}

TEST(Subscript, BoundsAreChecked) {
    NRefPtr x = twoByThree();
    NNum& m = num(x);
    EXPECT_EQ(errorOf([&] { resolveSubarray(5, m, 6, 6); }), "error [5]: Subarray size error");
    EXPECT_EQ(errorOf([&] { resolveSubarray(5, m, 0, 6); }), "error [5]: Subarray size error");
    EXPECT_EQ(errorOf([&] { resolveSubmatrix(5, m, 2, 2, 0, 0); }), "error [5]: Submatrix size error");
    EXPECT_EQ(errorOf([&] { resolveSubmatrix(5, m, 0, 0, 0, 3); }), "error [5]: Submatrix size error");
    NNum empty(0, 0);
    EXPECT_EQ(errorOf([&] { resolveSubarray(5, empty, -1, -1); }), "error [5]: Subarray size error");
    EXPECT_EQ(errorOf([&] { resolveSubmatrix(5, empty, -1, -1, -1, -1); }), "error [5]: Submatrix size error");
}

TEST(Subscript, StoresFillCutAndPad) {
    NRefPtr x = realMatrix({{1, 1, 1, 1, 1}});
    NNum& m = num(x);
    storeSubarray(1, m, resolveSubarray(1, m, 0, 2), makeNum(7));
    EXPECT_EQ(reals(x), (V{7, 7, 7, 1, 1}));
    storeSubarray(1, m, resolveSubarray(1, m, 0, 3), realMatrix({{8, 9}}));
    EXPECT_EQ(reals(x), (V{8, 9, 0, 0, 1}));
    storeSubarray(1, m, resolveSubarray(1, m, 3, 4), realMatrix({{5, 6, 7, 8}}));
    EXPECT_EQ(reals(x), (V{8, 9, 0, 5, 6}));
    // A reversed range stores into the block it reads.
    storeSubarray(1, m, resolveSubarray(1, m, 1, 0), realMatrix({{2, 3}}));
    EXPECT_EQ(reals(x), (V{2, 3, 0, 5, 6}));

    NRefPtr y = twoByThree();
    NNum& b = num(y);
    storeSubmatrix(1, b, resolveSubmatrix(1, b, -1, -1, 1, 2), makeNum(-1));
    EXPECT_EQ(reals(y), (V{0, -1, -1, 3, -1, -1}));
    storeSubmatrix(1, b, resolveSubmatrix(1, b, 0, 1, 0, 1), realMatrix({{10, 11, 12}}));
    EXPECT_EQ(reals(y), (V{10, 11, -1, 0, 0, -1}));
    storeSubmatrix(1, b, resolveSubmatrix(1, b, 1, 1, -1, -1), NRefPtr(new NNum(0, 0)));
    EXPECT_EQ(reals(y), (V{10, 11, -1, 0, 0, 0}));
}

TEST(Subscript, StoreFromTheSameMatrix) {
    NRefPtr x = realMatrix({{1, 2, 3, 4}});
    NNum& m = num(x);
    storeSubarray(1, m, resolveSubarray(1, m, 1, 3), x);
    EXPECT_EQ(reals(x), (V{1, 1, 2, 3}));

    NRefPtr y = realMatrix({{1, 2}, {3, 4}, {5, 6}});
    NNum& b = num(y);
    storeSubmatrix(1, b, resolveSubmatrix(1, b, 1, 2, -1, -1), y);
    EXPECT_EQ(reals(y), (V{1, 2, 1, 2, 3, 4}));
}

TEST(Subscript, FailedStoresChangeNothing) {
    NRefPtr x = twoByThree();
    NNum& m = num(x);
    Subarray s = resolveSubarray(1, m, 0, 5);
    EXPECT_EQ(errorOf([&] { storeSubarray(3, m, s, makeString("ab")); }),
              "error [3]: Bad type operation for submatrix");
    EXPECT_EQ(errorOf([&] { storeSubarray(3, m, s, NRefPtr(new NFileID(2))); }),
              "error [3]: Bad assignment with void expression");
    EXPECT_EQ(errorOf([&] { storeSubarray(3, m, s, NRefPtr()); }),
              "error [3]: Bad assignment with void expression");
    Submatrix b = resolveSubmatrix(1, m, 0, 1, 0, 2);
    EXPECT_EQ(errorOf([&] { storeSubmatrix(3, m, b, makeString("ab")); }),
              "error [3]: Bad type operation for submatrix");
    EXPECT_EQ(reals(x), (V{0, 1, 2, 3, 4, 5}));
}

TEST(Subscript, StaleRangesAreRecheckedAtTheStore) {
    // A part resolved against a larger matrix must not write past a smaller one.
    NRefPtr big = twoByThree();
    Subarray s = resolveSubarray(1, num(big), 0, 5);
    Submatrix b = resolveSubmatrix(1, num(big), 0, 1, 0, 2);
    NNum small(2, 1);
    EXPECT_EQ(errorOf([&] { storeSubarray(4, small, s, makeNum(1)); }), "error [4]: Subarray size error");
    EXPECT_EQ(errorOf([&] { storeSubmatrix(4, small, b, makeNum(1)); }), "error [4]: Submatrix size error");
    EXPECT_EQ(errorOf([&] { readSubarray(4, small, s); }), "error [4]: Subarray size error");
    EXPECT_EQ(errorOf([&] { readSubmatrix(4, small, b); }), "error [4]: Submatrix size error");
    EXPECT_EQ(small.data[0].re, 0.0);
    EXPECT_EQ(errorOf([&] { storeSubarray(4, small, Subarray{-3, 0}, makeNum(1)); }),
              "error [4]: Subarray size error");
}

}  // namespace
