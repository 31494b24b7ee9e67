#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "builtins/format_language.h"
#include "builtins/text.h"

namespace {

std::string sprintfOf(ArgList args) {
    NContext ctx;
    NRefPtr result = makeNum(0);
    bi_sprintf(ctx, 1, args, result);
    NString* s = asString(result);
    return s ? s->text : "<not a string>";
}

std::string cFormat(const char* fmt, int v) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

TEST(FormatLanguage, IntegerDirectivesMatchTheCLibrary) {
    const char* formats[] = {"%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%x", "%X", "%#x", "%o", "%#o",
                             "%u", "%i", "%8.4x", "%hd", "%hhd", "%-+8.3i|"};
    const int values[] = {0, 1, -1, 42, -42, 65535, 70000, 2147483647, -2147483647 - 1};
    for (const char* f : formats) {
        for (int v : values) {
            EXPECT_EQ(sprintfOf({makeString(f), makeNum(v)}), cFormat(f, v)) << f << " with " << v;
        }
    }
    // With "l" the value is 64 bits wide.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld", 5000000000LL);
    EXPECT_EQ(sprintfOf({makeString("%ld"), makeNum(5e9)}), buf);
    std::snprintf(buf, sizeof buf, "%llx", -2LL);
    EXPECT_EQ(sprintfOf({makeString("%lx"), makeNum(-2)}), buf);
}

TEST(FormatLanguage, IntegerEdgeValuesAreDefined) {
    // Out of range for a C int: taken modulo 2^32.
    EXPECT_EQ(sprintfOf({makeString("%x"), makeNum(4294967296.0 + 17)}), "11");
    EXPECT_EQ(sprintfOf({makeString("%d"), makeNum(std::nan(""))}), "0");
    EXPECT_EQ(sprintfOf({makeString("%ld"), makeNum(1e300)}), "9223372036854775807");
    EXPECT_EQ(sprintfOf({makeString("%ld"), makeNum(-HUGE_VAL)}), "-9223372036854775808");
    // %c of 0 is a real NUL byte in the text.
    EXPECT_EQ(sprintfOf({makeString("a%cb"), makeNum(0)}), std::string("a\0b", 3));
}

TEST(FormatLanguage, OutputOfOneDirectiveIsBounded) {
    std::string big(5000, 'z');
    EXPECT_EQ(sprintfOf({makeString("%s"), makeString(big)}).size(), 2047u);
    EXPECT_EQ(sprintfOf({makeString("%s|%s"), makeString(big), makeString("a")}).size(),
              kDirectiveOutputLimit + 2);
    EXPECT_EQ(sprintfOf({makeString("%99999999999999999999d"), makeNum(1)}).size(), kDirectiveOutputLimit);
    EXPECT_EQ(sprintfOf({makeString("%.99999999999d"), makeNum(1)}).size(), kDirectiveOutputLimit);
    EXPECT_LE(sprintfOf({makeString("%9999.9999f"), makeNum(1e300)}).size(), kDirectiveOutputLimit);
    EXPECT_LE(sprintfOf({makeString("%5000s"), makeString("x")}).size(), kDirectiveOutputLimit);
    NRefPtr wide(new NNum(1000, 1));
    EXPECT_EQ(sprintfOf({makeString("%m"), wide}).size(), kDirectiveOutputLimit);
}

TEST(FormatLanguage, OddFormatsNeverReachTheCLibraryUnchecked) {
    // Length modifiers on real conversions are dropped rather than passed on
    // (a long double conversion would read past the double).
    EXPECT_EQ(sprintfOf({makeString("%Lf"), makeNum(1.5)}), "1.500000");
    EXPECT_EQ(sprintfOf({makeString("%lc"), makeNum(65)}), "A");
    EXPECT_EQ(sprintfOf({makeString("%3.2.1d"), makeNum(7)}), cFormat("%3.21d", 7));
    // Directives at the end of the text without a conversion print nothing.
    EXPECT_EQ(sprintfOf({makeString("ab%"), makeNum(1)}), "ab");
    EXPECT_EQ(sprintfOf({makeString("ab%-5.2"), makeNum(1)}), "ab");
    // Directive characters that C has no place for are still harmless.
    EXPECT_EQ(sprintfOf({makeString("%n"), makeString("s")}), "");
    std::string withNul("x\0%d", 4);
    EXPECT_EQ(sprintfOf({makeString(withNul), makeNum(9)}), std::string("x\0" "9", 3));
}

}  // namespace
