// Subscript indices, part resolution, reads and in-place stores.
#include <gtest/gtest.h>

#include <cmath>

#include "value/subscript.h"
#include "value_helpers.h"

namespace {

NRefPtr twoByThree() { return realMatrix({{0, 1, 2}, {3, 4, 5}}); }

TEST(Subscript, IndexOfASubscriptValue) {
    EXPECT_EQ(subscriptIndex(1, makeNum(1.9)), 1);
    EXPECT_EQ(subscriptIndex(1, makeNum(-1.9)), -1);
    EXPECT_EQ(subscriptIndex(1, makeNum(4, 7)), 4);
    for (NRefPtr bad : {realMatrix({{1, 2}}), makeString("1"), NRefPtr(), makeNum(NAN), makeNum(4294967296.0)})
        EXPECT_EQ(errorOf([&] { subscriptIndex(2, bad); }), "error [2]: Submatrix range error");
}

TEST(Subscript, Reads) {
    NRefPtr x = twoByThree();
    NNum& m = num(x);
    auto array = [&](int lo, int hi) { return shaped(readSubarray(1, m, resolveSubarray(1, m, lo, hi))); };
    auto block = [&](int rlo, int rhi, int clo, int chi) {
        return shaped(readSubmatrix(1, m, resolveSubmatrix(1, m, rlo, rhi, clo, chi)));
    };
    EXPECT_EQ(array(3, 3), (Reals{1, 1, 3}));
    EXPECT_EQ(array(-1, -1), (Reals{1, 6, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(array(2, 0), (Reals{1, 3, 0, 1, 2}));
    EXPECT_EQ(block(1, 1, -1, -1), (Reals{1, 3, 3, 4, 5}));
    EXPECT_EQ(block(-1, -1, 2, 2), (Reals{2, 1, 2, 5}));
    EXPECT_EQ(block(1, 0, 2, 1), (Reals{2, 2, 1, 2, 4, 5}));

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
    auto store = [&](int lo, int hi, NRefPtr v) { storeSubarray(1, m, resolveSubarray(1, m, lo, hi), v); };
    store(0, 2, makeNum(7));
    EXPECT_EQ(shaped(x), (Reals{1, 5, 7, 7, 7, 1, 1}));
    store(0, 3, realMatrix({{8, 9}}));
    EXPECT_EQ(shaped(x), (Reals{1, 5, 8, 9, 0, 0, 1}));
    store(3, 4, realMatrix({{5, 6, 7, 8}}));
    EXPECT_EQ(shaped(x), (Reals{1, 5, 8, 9, 0, 5, 6}));
    store(1, 0, realMatrix({{2, 3}}));  // a reversed range stores where it reads
    EXPECT_EQ(shaped(x), (Reals{1, 5, 2, 3, 0, 5, 6}));
    store(1, 4, x);  // from itself, overlapping
    EXPECT_EQ(shaped(x), (Reals{1, 5, 2, 2, 3, 0, 5}));

    NRefPtr y = realMatrix({{0, 1, 2}, {3, 4, 5}, {6, 7, 8}});
    NNum& b = num(y);
    auto put = [&](int rlo, int rhi, int clo, int chi, NRefPtr v) {
        storeSubmatrix(1, b, resolveSubmatrix(1, b, rlo, rhi, clo, chi), v);
    };
    put(-1, -1, 1, 2, makeNum(-1));
    EXPECT_EQ(shaped(y), (Reals{3, 3, 0, -1, -1, 3, -1, -1, 6, -1, -1}));
    put(0, 1, 0, 1, realMatrix({{10, 11, 12}}));
    EXPECT_EQ(shaped(y), (Reals{3, 3, 10, 11, -1, 0, 0, -1, 6, -1, -1}));
    put(2, 2, -1, -1, NRefPtr(new NNum(0, 0)));
    EXPECT_EQ(shaped(y), (Reals{3, 3, 10, 11, -1, 0, 0, -1, 0, 0, 0}));
    put(1, 2, -1, -1, y);  // from itself
    EXPECT_EQ(shaped(y), (Reals{3, 3, 10, 11, -1, 10, 11, -1, 0, 0, -1}));
}

TEST(Subscript, FailedAndStaleStoresChangeNothing) {
    NRefPtr x = twoByThree();
    NNum& m = num(x);
    Subarray s = resolveSubarray(1, m, 0, 5);
    Submatrix b = resolveSubmatrix(1, m, 0, 1, 0, 2);
    const char* type = "error [3]: Bad type operation for submatrix";
    const char* vacant = "error [3]: Bad assignment with void expression";
    EXPECT_EQ(errorOf([&] { storeSubarray(3, m, s, makeString("ab")); }), type);
    EXPECT_EQ(errorOf([&] { storeSubmatrix(3, m, b, makeString("ab")); }), type);
    EXPECT_EQ(errorOf([&] { storeSubarray(3, m, s, NRefPtr(new NFileID(2))); }), vacant);
    EXPECT_EQ(errorOf([&] { storeSubmatrix(3, m, b, NRefPtr()); }), vacant);
    EXPECT_EQ(shaped(x), (Reals{2, 3, 0, 1, 2, 3, 4, 5}));

    // Parts resolved against a larger matrix must not touch a smaller one.
    NNum small(2, 1);
    EXPECT_EQ(errorOf([&] { storeSubarray(4, small, s, makeNum(1)); }), "error [4]: Subarray size error");
    EXPECT_EQ(errorOf([&] { storeSubmatrix(4, small, b, makeNum(1)); }), "error [4]: Submatrix size error");
    EXPECT_EQ(errorOf([&] { readSubarray(4, small, s); }), "error [4]: Subarray size error");
    EXPECT_EQ(errorOf([&] { readSubmatrix(4, small, b); }), "error [4]: Submatrix size error");
    EXPECT_EQ(errorOf([&] { storeSubarray(4, small, Subarray{-3, 0}, makeNum(1)); }),
              "error [4]: Subarray size error");
    EXPECT_EQ(small.data[0].re + small.data[1].re, 0.0);
}

}  // namespace
