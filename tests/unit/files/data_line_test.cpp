#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/data_line.h"

namespace {

DataLine parse(const std::string& s) { return parseDataLine(s.data(), s.size()); }

void expectElements(const std::string& text, std::initializer_list<Complex> want) {
    DataLine d = parse(text);
    ASSERT_EQ(d.elements.size(), want.size()) << text;
    std::size_t i = 0;
    for (const Complex& z : want) {
        EXPECT_DOUBLE_EQ(d.elements[i].re, z.re) << text << " element " << i;
        EXPECT_DOUBLE_EQ(d.elements[i].im, z.im) << text << " element " << i;
        ++i;
    }
    EXPECT_FALSE(d.bad) << text;
}

TEST(DataLine, SeparatorsAndNumberForms) {
    expectElements("1 2", {{1, 0}, {2, 0}});
    expectElements("  ,1,,\t2 ,", {{1, 0}, {2, 0}});
    expectElements("1.5 .25 7. 0 0. -3 +4", {{1.5, 0}, {0.25, 0}, {7, 0}, {0, 0}, {0, 0}, {-3, 0}, {4, 0}});
    expectElements("1e3 2.5E-2 .5e+1 -1e2", {{1000, 0}, {0.025, 0}, {5, 0}, {-100, 0}});
    expectElements("3 4\r", {{3, 0}, {4, 0}});
    expectElements("2i 3j -4I +5J", {{0, 2}, {0, 3}, {0, -4}, {0, 5}});
    expectElements("i -i +j", {{0, 1}, {0, -1}, {0, 1}});
    expectElements("1+2+3i", {{3, 3}});
}

TEST(DataLine, OddFormsCommentsAndBadData) {
    // "0" is its own form, so 012 reads as 0 followed directly by 12.
    expectElements("012", {{0, 0}, {12, 0}});
    EXPECT_TRUE(parse(",#x").comment);
    expectElements("1 2#", {{1, 0}, {2, 0}});
    for (const char* text : {"1 + 2", "5e", "1-", "inf", "nan", "--1", "x"}) {
        EXPECT_TRUE(parse(text).bad) << text;
    }
    DataLine d = parse("1 + 2");
    ASSERT_EQ(d.elements.size(), 1u);
    EXPECT_EQ(d.elements[0].re, 1);
}

TEST(DataLine, EmptyAndBinaryLines) {
    DataLine d = parse("");
    EXPECT_TRUE(d.elements.empty());
    EXPECT_FALSE(d.bad);
    EXPECT_FALSE(d.comment);
    const char garbage[] = {'1', ' ', '\0', '\xff', '2'};
    d = parseDataLine(garbage, sizeof garbage);
    EXPECT_TRUE(d.bad);
    ASSERT_EQ(d.elements.size(), 1u);
    // The parser never reads past the given length: a digit right after the
    // end must not be taken.
    const char* text = "12345";
    d = parseDataLine(text, 2);
    ASSERT_EQ(d.elements.size(), 1u);
    EXPECT_EQ(d.elements[0].re, 12);
}

}  // namespace
