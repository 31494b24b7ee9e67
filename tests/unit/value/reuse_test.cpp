// op2Reusing: the result may be written over an operand handed over with its
// only reference, and must then equal op2's result exactly; an operand that a
// variable or another reference holds is never touched.
#include <gtest/gtest.h>

#include "value/ops.h"
#include "value_helpers.h"

namespace {

NRefPtr copyOf(const NRefPtr& v) { return NRefPtr(v->clone()); }

// A kernel the loops cannot know, so the call goes through the pointer.
Complex customSub(int, Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }

TEST(Reuse, HandedOverTemporaryTakesTheResult) {
    const NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    const NRefPtr n = realMatrix({{6, 5, 4}, {3, 2, 1}});
    for (Kernel2 f : {k_add, k_sub, k_mul, k_div, k_lt, customSub}) {
        for (const NRefPtr& other : {n, makeNum(2.5)}) {
            for (bool left : {true, false}) {
                NRefPtr temp = copyOf(m);
                NRef* where = temp.get();
                NRefPtr result =
                    left ? op2Reusing(1, std::move(temp), other, f) : op2Reusing(1, other, std::move(temp), f);
                EXPECT_EQ(result.get(), where);
                EXPECT_EQ(shaped(result), shaped(left ? op2(1, m, other, f) : op2(1, other, m, f)));
            }
        }
    }
}

TEST(Reuse, SharedOperandsAndOtherShapesGetANewMatrix) {
    const NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    const Reals before = shaped(m);
    // Held here as well: m must come out unchanged.
    NRefPtr result = op2Reusing(1, m, makeNum(1), k_add);
    EXPECT_NE(result.get(), m.get());
    EXPECT_EQ(shaped(result), (Reals{2, 3, 2, 3, 4, 5, 6, 7}));
    // Bound to a variable and held by nobody else: still not free to overwrite.
    NRefPtr bound = copyOf(m);
    ++bound->bindCount;
    NRef* raw = bound.get();
    EXPECT_NE(op2Reusing(1, std::move(bound), makeNum(1), k_add).get(), raw);
    EXPECT_EQ(shaped(m), before);
    EXPECT_EQ(shaped(NRefPtr(raw)), before);
    unbindRef(raw);
    // A row against a matrix makes a shape the row does not have.
    NRefPtr row = realMatrix({{10, 20, 30}});
    raw = row.get();
    result = op2Reusing(1, std::move(row), m, k_sub);
    EXPECT_NE(result.get(), raw);
    EXPECT_EQ(shaped(result), (Reals{2, 3, 9, 18, 27, 6, 15, 24}));
    NRefPtr tall = realMatrix({{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(errorOf([&] { op2Reusing(4, copyOf(m), tall, k_add); }), "error [4]: Matrix size not match in op2");
}

}  // namespace
