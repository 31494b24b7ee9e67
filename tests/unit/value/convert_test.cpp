// Integer and real conversions of argument values, exact whatever the
// tolerance (texts and points: their messages are the script tests').
#include <gtest/gtest.h>

#include <cmath>

#include "value/convert.h"
#include "value/settings.h"
#include "value_helpers.h"

namespace {

const char* kInt = "error [1]: Cannot convert arg to integer";
const char* kReal = "error [1]: Cannot convert arg to real number";

TEST(Convert, IntegersAndReals) {
    EXPECT_EQ(toInteger(1, makeNum(3.0)) + toInteger(1, makeNum(-0.0)), 3);
    EXPECT_EQ(toInteger(1, makeNum(-2147483648.0)), INT32_MIN);
    EXPECT_EQ(toInteger(1, makeNum(2147483647.0)), INT32_MAX);
    for (double bad : {2147483648.0, 2.5, 1e10, -2147483649.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(errorOf([&] { toInteger(1, makeNum(bad)); }), kInt) << bad;
    for (NRefPtr bad : {makeNum(3, 0.5), realMatrix({{1, 2}}), makeString("3"), NRefPtr()})
        EXPECT_EQ(errorOf([&] { toInteger(1, bad); }), kInt);
    EXPECT_FALSE(inInt32Range(2147483647.5));

    EXPECT_EQ(toReal(1, makeNum(2.5)), 2.5);
    EXPECT_TRUE(std::isnan(toReal(1, makeNum(NAN))));
    for (NRefPtr bad : {makeNum(3, 1e-300), realMatrix({{1, 2}}), makeString("x"), NRefPtr(new NNum(0, 0))})
        EXPECT_EQ(errorOf([&] { toReal(1, bad); }), kReal);
    setCompareTolerance(1.0);  // exact whatever the tolerance
    EXPECT_EQ(errorOf([] { toInteger(1, makeNum(3, 1e-300)); }), kInt);
    EXPECT_EQ(errorOf([] { elementToReal(1, {1, 1e-300}); }), kReal);
    setCompareTolerance(0.0);
}

}  // namespace
