#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "builtins/text.h"
#include "files/files.h"
#include "value/settings.h"

namespace {

NRefPtr call(BuiltinEntry entry, ArgList args, int line = 1) {
    NContext ctx;
    NRefPtr result = makeNum(0);
    entry(ctx, line, args, result);
    return result;
}

std::string errorOf(BuiltinEntry entry, ArgList args) {
    try {
        call(entry, std::move(args), 5);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

std::string printed(BuiltinEntry entry, ArgList args) {
    testing::internal::CaptureStdout();
    call(entry, std::move(args));
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

class TextOutput : public ::testing::Test {
protected:
    std::string path;
    void SetUp() override {
        char name[] = "/tmp/quarn_text_XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        ::close(fd);
        path = name;
    }
    void TearDown() override {
        closeAllFiles();
        std::remove(path.c_str());
        setNumberFormat("%.3f");
        setStrictMode(false);
    }
    std::string contents() {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(TextOutput, PrintJoinsItsArgumentsWithoutSeparators) {
    EXPECT_EQ(printed(bi_print, {makeNum(1), makeString("a"), makeNum(2)}), "1.000a2.000\n");
    EXPECT_EQ(printed(bi_print, {}), "\n");
    // A file identifier after the first argument contributes nothing.
    EXPECT_EQ(printed(bi_print, {makeString("x"), NRefPtr(new NFileID(3)), makeNum(0, -2)}), "x-2.000i\n");
    EXPECT_EQ(printed(bi_print, {makeString(std::string("a\0b", 3))}), std::string("a\0b\n", 4));
    NNum* m = new NNum(2, 2);
    m->at(0, 1) = {22, 0};
    EXPECT_EQ(printed(bi_print, {NRefPtr(m)}), " 0.000, 22.000\n 0.000,  0.000\n");
}

TEST_F(TextOutput, PrintAndPrintfToAFile) {
    NRefPtr slot(new NFileID(1));
    EXPECT_EQ(errorOf(bi_print, {slot, makeNum(1)}), "error [5]: Bad argument in print()");
    EXPECT_EQ(errorOf(bi_printf, {slot, makeString("%d"), makeNum(1)}), "error [5]: Bad argument in printf()");
    ASSERT_TRUE(fileSlot(1)->open(path, "w"));
    EXPECT_EQ(printed(bi_print, {slot, makeNum(1), makeString("b")}), "");
    EXPECT_EQ(printed(bi_printf, {slot, makeString("<%d>"), makeNum(7)}), "");
    fileSlot(1)->close();
    EXPECT_EQ(contents(), "1.000b\n<7>");
    EXPECT_EQ(printed(bi_printf, {makeString("%s=%g"), makeString("x"), makeNum(0.5)}), "x=0.5");
}

TEST_F(TextOutput, FormatSetsTheNumberFormat) {
    NRefPtr old = call(bi_format, {makeString("%g")});
    ASSERT_TRUE(asString(old));
    EXPECT_EQ(asString(old)->text, "%.3f");
    EXPECT_EQ(printed(bi_print, {makeNum(1.0 / 3)}), "0.333333\n");
    EXPECT_EQ(asString(call(bi_format, {makeString("%.1f")}))->text, "%g");
    EXPECT_EQ(errorOf(bi_format, {makeNum(1)}), "error [5]: Bad argument in format()");
    // Formats that would not format exactly one double are refused and
    // leave the format as it was.
    for (const char* bad : {"%s", "%d", "%f %f", "none", "%n", "%*f", "%Lf"}) {
        EXPECT_EQ(errorOf(bi_format, {makeString(bad)}), "error [5]: Bad argument in format()") << bad;
    }
    EXPECT_STREQ(numberFormat(), "%.1f");
}

TEST_F(TextOutput, StrictReturnsThePreviousState) {
    EXPECT_EQ(asNum(call(bi_strict, {makeNum(2)}))->data[0].re, 0);
    EXPECT_TRUE(strictMode());
    EXPECT_EQ(asNum(call(bi_strict, {makeNum(0)}))->data[0].re, 1);
    EXPECT_FALSE(strictMode());
    EXPECT_EQ(errorOf(bi_strict, {makeString("1")}), "error [5]: Bad argument in strict()");
    EXPECT_EQ(errorOf(bi_strict, {NRefPtr(new NNum(2, 1))}), "error [5]: Bad argument in strict()");
    EXPECT_EQ(errorOf(bi_strict, {NRefPtr(new NNum(0, 0))}), "error [5]: Bad argument in strict()");
    EXPECT_FALSE(strictMode());
}

TEST_F(TextOutput, ErrorRaisesTheTextItself) {
    EXPECT_EQ(errorOf(bi_error, {makeString("x %d %s")}), "error [5]: x %d %s");
    EXPECT_EQ(errorOf(bi_error, {makeNum(1)}), "error [5]: Bad argument in error()");
}

}  // namespace
