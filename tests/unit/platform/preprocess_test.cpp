// The preprocessor as the script runner calls it: argument order, markers,
// and the parts of the script language that are not C.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/preprocess.h"

namespace {

class PreprocessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarn-pp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        std::string cmd = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    static void write(const std::string& name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }
    static std::string read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static int run(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        return cpp_main(static_cast<int>(argv.size()), argv.data());
    }
    std::string dir_;
};

TEST_F(PreprocessTest, ExpandsMacrosAroundTransposesAndNamesTheScript) {
    write("a.qn", "#define N 3\nx = a' * N;\ns = \"it's\";\ny = __LINE__;\n");
    // __LINE__ is left for the scanner or expanded to the same number.
    ASSERT_EQ(run({"", "-DUNUSED=1", "-I", "-oa.qn.i", "a.qn"}), 0);
    const std::string out = read("a.qn.i");
    EXPECT_NE(out.find("#line 1 \"a.qn\""), std::string::npos) << out;
    // Blanks between tokens may change; the tokens may not.
    EXPECT_TRUE(std::regex_search(out, std::regex("x = a' ?\\* 3;"))) << out;
    EXPECT_NE(out.find("s = \"it's\";"), std::string::npos) << out;
    EXPECT_EQ(out.find("apostrophe"), std::string::npos) << out;
    EXPECT_FALSE(std::ifstream("a.qn.i.src")) << "the protected copy is removed";
}

TEST_F(PreprocessTest, OptionsArriveInOrderAndIncludesResolve) {
    ASSERT_EQ(mkdir("lib", 0755), 0);
    write("lib/inc.qn", "included = X;\n");
    write("b.qn", "#include \"inc.qn\"\n#ifdef Y\ny = 1;\n#endif\n");
    ASSERT_EQ(run({"", "-DX=7", "-DY", "-UY", "-Ilib", "-I" + dir_ + "/", "-ob.qn.i", "b.qn"}), 0);
    const std::string out = read("b.qn.i");
    EXPECT_NE(out.find("included = 7;"), std::string::npos) << out;
    EXPECT_EQ(out.find("y = 1;"), std::string::npos) << "-U after -D undefines: " << out;
}

TEST_F(PreprocessTest, ShebangLineIsBlankedAndLinesKeepTheirNumbers) {
    write("c.qn", "#!/usr/bin/env quarn\nz = __LINE__;\n");
    ASSERT_EQ(run({"", "-I", "-oc.qn.i", "c.qn"}), 0);
    const std::string out = read("c.qn.i");
    EXPECT_EQ(out.find("#!"), std::string::npos) << out;
    EXPECT_NE(out.find("z = 2;"), std::string::npos) << out;
}

TEST_F(PreprocessTest, ShiftJisBackslashTrailByteSurvives) {
    // 0x95 0x5C is one double-byte character whose trail byte is a backslash.
    write("d.qn", "s = \"\x95\x5c\";\n");
    ASSERT_EQ(run({"", "-I", "-od.qn.i", "d.qn"}), 0);
    EXPECT_NE(read("d.qn.i").find("s = \"\x95\x5c\";"), std::string::npos);
}

TEST_F(PreprocessTest, FailuresReturnNonZero) {
    EXPECT_NE(run({"", "-I", "-omissing.qn.i", "missing.qn"}), 0);
    write("e.qn", "#include \"nothere.qn\"\n");
    EXPECT_NE(run({"", "-I", "-oe.qn.i", "e.qn"}), 0);
    write("f.qn", "#if 1\nx = 1;\n");
    EXPECT_NE(run({"", "-I", "-of.qn.i", "f.qn"}), 0);
}

}  // namespace
