// Element text, matrix text, display form and the number format validator.
#include <gtest/gtest.h>

#include <cmath>

#include "value/settings.h"
#include "value_helpers.h"

namespace {

class TextTest : public ::testing::Test {
protected:
    void TearDown() override {
        setCompareTolerance(0.0);
        setNumberFormat("%.3f");
    }
};

TEST_F(TextTest, ElementTextOfRealAndComplexValues) {
    const char* f = "%.3f";
    EXPECT_EQ(elementText(f, {3, 4}), "3.000+4.000i");
    EXPECT_EQ(elementText(f, {3, -4}), "3.000-4.000i");
    EXPECT_EQ(elementText(f, {0, 2}), "2.000i");
    EXPECT_EQ(elementText(f, {-0.0, 2}), "2.000i");
    EXPECT_EQ(elementText(f, {0, -2}), "-2.000i");
    EXPECT_EQ(elementText(f, {-0.0, 0}), "0.000");
    EXPECT_EQ(elementText(f, {1.0 / 3, 0}), "0.333");
    EXPECT_EQ(elementText("%g", {1.0 / 3, 0}), "0.333333");
}

TEST_F(TextTest, SpecialValues) {
    const char* f = "%.3f";
    EXPECT_EQ(elementText(f, {INFINITY, 0}), "inf");
    EXPECT_EQ(elementText(f, {-INFINITY, 0}), "-inf");
    EXPECT_EQ(elementText(f, {NAN, 0}), "nan");
    EXPECT_EQ(elementText(f, {1, NAN}), "1.000-nani");
    EXPECT_EQ(elementText(f, {-NAN, 0}), "nan");
    EXPECT_EQ(elementText(f, {0, -NAN}), "nani");
    EXPECT_EQ(elementText(f, {1, INFINITY}), "1.000+infi");
    EXPECT_EQ(elementText(f, {0, -INFINITY}), "-infi");
}

TEST_F(TextTest, ToleranceDecidesWhetherTinyPartsVanish) {
    EXPECT_EQ(elementText("%.3f", {1, 1e-20}), "1.000+0.000i");
    setCompareTolerance(1e-10);
    EXPECT_EQ(elementText("%.3f", {1, 1e-20}), "1.000");
    EXPECT_EQ(elementText("%g", {1e-20, 2}), "2i");
}

TEST_F(TextTest, OverlongElementTextIsCut) {
    // A huge width cannot write past the fixed buffer.
    std::string t = elementText("%900.1f", {1, 0});
    EXPECT_EQ(t.size(), 511u);
    EXPECT_EQ(t.back(), ' ');
}

TEST_F(TextTest, MatrixTextAlignsToTheWidestElement) {
    EXPECT_EQ(matrixText("%.3f", num(realMatrix({{1, 22}, {3, 4}}))), " 1.000, 22.000\n 3.000,  4.000");
    EXPECT_EQ(matrixText("%.3f", num(makeNum(5))), "5.000");
    EXPECT_EQ(matrixText("%.3f", num(realMatrix({{1}, {-2}}))), " 1.000\n-2.000");
    NNum empty(0, 3);
    EXPECT_EQ(matrixText("%.3f", empty), "");
    NNum c(2, 1);
    c.data[0] = {0, 1};
    c.data[1] = {-1, -1};
    EXPECT_EQ(matrixText("%g", c), "   1i, -1-1i");
}

TEST_F(TextTest, DisplayFormEscapesBytes) {
    EXPECT_EQ(displayForm(NString("a\tb")), "\"a\\tb\"");
    EXPECT_EQ(displayForm(NString(std::string("\x01", 1))), "\"\\x01\"");
    EXPECT_EQ(displayForm(NString(std::string("\0\a\b\n\v\f\r", 7))), "\"\\0\\a\\b\\n\\v\\f\\r\"");
    EXPECT_EQ(displayForm(NString("say \"hi\" \\")), "\"say \"hi\" \\\"");
    EXPECT_EQ(displayForm(NString("\x7f\xff")), "\"\\x7f\\xff\"");
    // A Shift_JIS pair stays whole; a lead byte without a valid trail does not.
    EXPECT_EQ(displayForm(NString("\x82\xa0z")), "\"\x82\xa0z\"");
    EXPECT_EQ(displayForm(NString("\x82\x0a")), "\"\\x82\\n\"");
    EXPECT_EQ(displayForm(NString("\x82")), "\"\\x82\"");
    // The trail byte of a pair may be a backslash: it is not escaped.
    EXPECT_EQ(displayForm(NString("\x95\x5c")), "\"\x95\x5c\"");
}

TEST_F(TextTest, NumberFormatAcceptsOnlyOneDoubleConversion) {
    EXPECT_TRUE(isValidNumberFormat("%.3f"));
    EXPECT_TRUE(isValidNumberFormat("%10.4e"));
    EXPECT_TRUE(isValidNumberFormat("%lf"));
    EXPECT_TRUE(isValidNumberFormat("x=%g%%"));
    EXPECT_FALSE(isValidNumberFormat("%d"));
    EXPECT_FALSE(isValidNumberFormat("%s"));
    EXPECT_FALSE(isValidNumberFormat("%f %f"));
    EXPECT_FALSE(isValidNumberFormat("%*f"));
    EXPECT_FALSE(isValidNumberFormat("%Lf"));
    EXPECT_FALSE(isValidNumberFormat("plain"));
    EXPECT_FALSE(isValidNumberFormat("%"));
    EXPECT_FALSE(setNumberFormat("%n"));
    EXPECT_STREQ(numberFormat(), "%.3f");
    EXPECT_TRUE(setNumberFormat("%g"));
    EXPECT_STREQ(numberFormat(), "%g");
}

}  // namespace
