#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "builtins/format_language.h"
#include "builtins/text.h"
#include "value/settings.h"

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

TEST(FormatLanguage, BasicDirectives) {
    EXPECT_EQ(sprintfOf({makeString("%d"), makeNum(3.9)}), "3");
    EXPECT_EQ(sprintfOf({makeString("%d"), makeNum(-3.9)}), "-3");
    EXPECT_EQ(sprintfOf({makeString("%5.1f"), makeNum(2)}), "  2.0");
    EXPECT_EQ(sprintfOf({makeString("%s"), makeNum(1)}), "");
    EXPECT_EQ(sprintfOf({makeString("%d %d"), makeNum(1)}), "1 ");
    EXPECT_EQ(sprintfOf({makeString("%y")}), "y");
    EXPECT_EQ(sprintfOf({makeString("%5y")}), "y");
    EXPECT_EQ(sprintfOf({makeString("100%%")}), "100%");
    EXPECT_EQ(sprintfOf({makeString("[%s|%-4s|%4s|%.2s]"), makeString("ab"), makeString("ab"), makeString("ab"),
                         makeString("abc")}),
              "[ab|ab  |  ab|ab]");
    EXPECT_EQ(sprintfOf({makeString("%c%c"), makeNum(72), makeNum(105)}), "Hi");
    EXPECT_EQ(sprintfOf({makeString("no directives")}), "no directives");
}

TEST(FormatLanguage, ArgumentsAreConsumedEvenWhenOfTheWrongType) {
    // The string is consumed by %d (printing nothing), so %s sees the number.
    EXPECT_EQ(sprintfOf({makeString("<%d><%s><%d>"), makeString("x"), makeNum(5), makeNum(6)}), "<><><6>");
    // An unknown conversion consumes nothing.
    EXPECT_EQ(sprintfOf({makeString("%q%d"), makeNum(8)}), "q8");
    // A file identifier is no argument for any directive.
    EXPECT_EQ(sprintfOf({makeString("%d%s%f%m"), new NFileID(1), new NFileID(1), new NFileID(1), new NFileID(1)}),
              "");
}

TEST(FormatLanguage, ComplexAndMatrixDirectives) {
    EXPECT_EQ(sprintfOf({makeString("%.1f"), makeNum(3, -4)}), "3.0-4.0i");
    EXPECT_EQ(sprintfOf({makeString("%.2e"), makeNum(0, 2)}), "2.00e+00i");
    NNum* m = new NNum(2, 2);
    m->at(0, 0) = {1, 0};
    m->at(0, 1) = {22, 0};
    m->at(1, 0) = {3, 0};
    m->at(1, 1) = {4, 0};
    NRefPtr matrix(m);
    EXPECT_EQ(sprintfOf({makeString("%.1m"), matrix}), " 1.0, 22.0\n 3.0,  4.0");
    EXPECT_EQ(sprintfOf({makeString("%n"), matrix}), " 1, 22\n 3,  4");
    // The real directives print the first element only.
    EXPECT_EQ(sprintfOf({makeString("%.0f"), matrix}), "1");
    // An empty matrix has no first element.
    EXPECT_EQ(sprintfOf({makeString("[%d%f%m]"), NRefPtr(new NNum(0, 0)), NRefPtr(new NNum(0, 3)),
                         NRefPtr(new NNum(0, 0))}),
              "[]");
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
    EXPECT_EQ(sprintfOf({makeString("%u"), makeNum(4294967295.0)}), "4294967295");
    EXPECT_EQ(sprintfOf({makeString("%x"), makeNum(4294967296.0 + 17)}), "11");
    EXPECT_EQ(sprintfOf({makeString("%d"), makeNum(std::nan(""))}), "0");
    EXPECT_EQ(sprintfOf({makeString("%ld"), makeNum(1e300)}), "9223372036854775807");
    EXPECT_EQ(sprintfOf({makeString("%ld"), makeNum(-HUGE_VAL)}), "-9223372036854775808");
    // %c of 0 is a real NUL byte in the text.
    EXPECT_EQ(sprintfOf({makeString("a%cb"), makeNum(0)}), std::string("a\0b", 3));
}

TEST(FormatLanguage, OutputOfOneDirectiveIsBounded) {
    std::string big(5000, 'z');
    EXPECT_EQ(sprintfOf({makeString("%s"), makeString(big)}).size(), kDirectiveOutputLimit);
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
    EXPECT_EQ(sprintfOf({makeString("%*d"), makeNum(3)}), "*d");
    EXPECT_EQ(sprintfOf({makeString("%n"), makeString("s")}), "");
    std::string withNul("x\0%d", 4);
    EXPECT_EQ(sprintfOf({makeString(withNul), makeNum(9)}), std::string("x\0" "9", 3));
}

TEST(FormatLanguage, FormatArgumentIsChecked) {
    NContext ctx;
    NRefPtr result = makeNum(0);
    ArgList none;
    ArgList number{makeNum(1)};
    for (BuiltinEntry entry : {bi_sprintf, bi_printf}) {
        for (ArgList* args : {&none, &number}) {
            try {
                entry(ctx, 12, *args, result);
                ADD_FAILURE() << "no error";
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "error [12]: Bad argument in printf()");
            }
        }
    }
    ArgList fileOnly{NRefPtr(new NFileID(0))};
    EXPECT_THROW(bi_printf(ctx, 1, fileOnly, result), std::runtime_error);
}

}  // namespace
