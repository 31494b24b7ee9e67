// Element text, display form and the number format validator (matrices as
// they print are the script tests').
#include <gtest/gtest.h>

#include <cmath>

#include "value/settings.h"
#include "value_helpers.h"

namespace {

TEST(Text, ElementText) {
    struct Case {
        double re, im;
        const char* text;
    } cases[] = {{-0.0, 2, "2.000i"}, {0, -2, "-2.000i"},   {-0.0, 0, "0.000"},          {1, 1e-20, "1.000+0.000i"},
                 {-INFINITY, 0, "-inf"}, {-NAN, 0, "nan"}, {0, -NAN, "nani"}, {1, NAN, "1.000-nani"},
                 {1, INFINITY, "1.000+infi"}};
    for (const Case& c : cases) EXPECT_EQ(elementText("%.3f", {c.re, c.im}), c.text);
    EXPECT_EQ(elementText("%g", {1.0 / 3, 0}), "0.333333");
    setCompareTolerance(1e-10);
    EXPECT_EQ(elementText("%.3f", {1, 1e-20}), "1.000");
    EXPECT_EQ(elementText("%g", {1e-20, 2}), "2i");
    setCompareTolerance(0);
    // A huge width is cut at the fixed buffer.
    EXPECT_EQ(elementText("%900.1f", {1, 0}), std::string(511, ' '));
}

TEST(Text, DisplayFormEscapesBytes) {
    EXPECT_EQ(displayForm(NString("a\tb")), "\"a\\tb\"");
    EXPECT_EQ(displayForm(NString(std::string("\0\x01\a\b\n\v\f\r", 8))), "\"\\0\\x01\\a\\b\\n\\v\\f\\r\"");
    EXPECT_EQ(displayForm(NString("\"\\\x7f\xff")), "\"\"\\\\x7f\\xff\"");
    // A Shift_JIS pair stays whole, even with a backslash as its trail byte;
    // a lead byte without a valid trail byte is escaped.
    EXPECT_EQ(displayForm(NString("\x82\xa0z\x95\x5c")), "\"\x82\xa0z\x95\x5c\"");
    EXPECT_EQ(displayForm(NString("\x82\x0a\x82")), "\"\\x82\\n\\x82\"");
}

TEST(Text, NumberFormatTakesExactlyOneDouble) {
    for (const char* good : {"%.3f", "%10.4e", "%lf", "x=%g%%"}) EXPECT_TRUE(isValidNumberFormat(good)) << good;
    for (const char* bad : {"%d", "%s", "%f %f", "%*f", "%Lf", "plain", "%", "%.9999f", "%1000f"})
        EXPECT_FALSE(isValidNumberFormat(bad)) << bad;
    EXPECT_FALSE(setNumberFormat("%n"));
    EXPECT_FALSE(setNumberFormat(std::string("%f\0%s", 5)));
    EXPECT_STREQ(numberFormat(), "%.3f");
}

}  // namespace
