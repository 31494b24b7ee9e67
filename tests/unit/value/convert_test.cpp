// Integer, real, text and vector conversions of argument values.
#include <gtest/gtest.h>

#include <cmath>

#include "value/convert.h"
#include "value/settings.h"
#include "value_helpers.h"

namespace {

const char* kInt = "error [1]: Cannot convert arg to integer";
const char* kReal = "error [1]: Cannot convert arg to real number";

TEST(Convert, Integers) {
    EXPECT_EQ(toInteger(1, makeNum(3)), 3);
    EXPECT_EQ(toInteger(1, makeNum(3.0)), 3);
    EXPECT_EQ(toInteger(1, makeNum(-0.0)), 0);
    EXPECT_EQ(toInteger(1, makeNum(-2147483648.0)), INT32_MIN);
    EXPECT_EQ(toInteger(1, makeNum(2147483647.0)), INT32_MAX);
    for (double bad : {2147483648.0, 2.5, 1e10, -2147483649.0, static_cast<double>(NAN), static_cast<double>(INFINITY)})
        EXPECT_EQ(errorOf([&] { toInteger(1, makeNum(bad)); }), kInt) << bad;
    EXPECT_EQ(errorOf([] { toInteger(1, makeNum(3, 0.5)); }), kInt);
    EXPECT_EQ(errorOf([] { toInteger(1, realMatrix({{1, 2}})); }), kInt);
    EXPECT_EQ(errorOf([] { toInteger(1, makeString("3")); }), kInt);
    EXPECT_EQ(errorOf([] { toInteger(1, NRefPtr()); }), kInt);
    EXPECT_EQ(errorOf([] { elementToInteger(1, {1.5, 0}); }), kInt);
    EXPECT_TRUE(inInt32Range(-2147483648.0));
    EXPECT_FALSE(inInt32Range(2147483647.5));
}

TEST(Convert, RealsAreExactWhateverTheTolerance) {
    EXPECT_EQ(toReal(1, makeNum(2.5)), 2.5);
    EXPECT_TRUE(std::isnan(toReal(1, makeNum(NAN))));
    EXPECT_TRUE(std::isinf(toReal(1, makeNum(-INFINITY))));
    setCompareTolerance(1.0);
    EXPECT_EQ(errorOf([] { toReal(1, makeNum(3, 1e-300)); }), kReal);
    EXPECT_EQ(errorOf([] { toInteger(1, makeNum(3, 1e-300)); }), kInt);
    setCompareTolerance(0.0);
    EXPECT_EQ(errorOf([] { toReal(1, makeString("x")); }), kReal);
    EXPECT_EQ(errorOf([] { toReal(1, realMatrix({{1, 2}})); }), kReal);
    EXPECT_EQ(errorOf([] { toReal(1, NRefPtr(new NNum(0, 0))); }), kReal);
    EXPECT_EQ(errorOf([] { elementToReal(1, {1, -1}); }), kReal);
}

TEST(Convert, Texts) {
    EXPECT_EQ(toText(1, makeString(std::string("a\0b", 3))), std::string("a\0b", 3));
    EXPECT_EQ(errorOf([] { toText(2, makeNum(1)); }), "error [2]: Cannot convert arg to string");
    EXPECT_EQ(errorOf([] { toText(2, NRefPtr(new NFileID(1))); }), "error [2]: Cannot convert arg to string");
}

TEST(Convert, Vectors) {
    Vec4 v = toVector2(1, realMatrix({{3, 4}}));
    EXPECT_EQ(v.x, 3);
    EXPECT_EQ(v.y, 4);
    EXPECT_EQ(v.z, 1);
    EXPECT_EQ(v.w, 1);
    v = toVector2(1, realMatrix({{5}, {6}}));
    EXPECT_EQ(v.y, 6);
    v = toVector3(1, realMatrix({{1, 2, 3}}));
    EXPECT_EQ(v.z, 3);
    EXPECT_EQ(v.w, 1);
    const char* v2 = "error [1]: Cannot convert arg to vector2";
    const char* v3 = "error [1]: Cannot convert arg to vector3";
    EXPECT_EQ(errorOf([] { toVector2(1, makeNum(1)); }), v2);
    EXPECT_EQ(errorOf([] { toVector2(1, realMatrix({{1, 2}, {3, 4}})); }), v2);
    EXPECT_EQ(errorOf([] { toVector2(1, realMatrix({{1, 2, 3}})); }), v2);
    EXPECT_EQ(errorOf([] { toVector2(1, makeString("ab")); }), v2);
    EXPECT_EQ(errorOf([] { toVector3(1, realMatrix({{1, 2}})); }), v3);
    NNum* c = new NNum(3, 1);
    c->data[2] = {1, 1};
    EXPECT_EQ(errorOf([&] { toVector3(1, NRefPtr(c)); }), kReal);
}

}  // namespace
