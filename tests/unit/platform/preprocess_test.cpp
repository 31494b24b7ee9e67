// The preprocessor over files held in memory: the text it makes (line
// markers included), the language's lexical rules, conditionals, #if
// arithmetic, and one message for every kind of fault (those a user meets
// most are run end to end by driver/preprocessor_errors.qn).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/interrupt.h"
#include "platform/preprocess.h"

namespace {

using Files = std::map<std::string, std::string>;
const char kDirectory[] = "<directory>";

struct Outcome {
    bool ok = false;
    std::string text;
    std::vector<std::string> messages;
};

// Preprocesses main.qn (or `script`) with `files` as the whole file system.
Outcome preprocessFiles(const Files& files, std::vector<std::string> options = {},
                        const std::string& script = "main.qn") {
    Outcome outcome;
    PreprocessJob job;
    job.script = script;
    job.options = std::move(options);
    job.read = [&files](const std::string& path) {
        SourceFile f;
        auto it = files.find(path);
        if (it == files.end()) return f;
        if (it->second == kDirectory) {
            f.status = SourceFile::Directory;
        } else if (it->second.rfind("<unreadable>", 0) == 0) {
            f.status = SourceFile::Failed;
            f.error = "Permission denied";
        } else {
            f.status = SourceFile::Read;
            f.bytes = it->second;
        }
        return f;
    };
    job.report = [&outcome](const std::string& m) { outcome.messages.push_back(m); };
    outcome.ok = preprocess(job, outcome.text);
    return outcome;
}

// The text without its line markers, lines joined by one blank.
std::string words(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.rfind("#line ", 0) != 0) out += (out.empty() ? "" : " ") + line;
        start = end + 1;
    }
    return out;
}

struct TextCase {
    const char* what;
    std::string main;
    std::string expected;  // the whole text made, markers included
};

TEST(Preprocess, TextFollowsTheLanguagesLexicalRules) {
    const std::string kanjiBackslash = "\x95\x5c";  // its trail byte is 0x5C, a backslash
    const TextCase cases[] = {
        {"names inside numbers, constants, $names, strings and comments stay",
         "#define x 9\n#define e5 9\n#define ei 9\n"
         "y = 1e5 + 1ei + @pix + $x + x' + x'' + \"x\" /* x */ // x\n",
         "#line 4 \"main.qn\"\ny = 1e5 + 1 9 + @pi 9 + $x + 9' + 9'' + \"x\" /* x */ // x\n"},
        {"a trail byte 0x5C neither ends a string, joins a name, nor continues a directive",
         "#define N 3 // " + kanjiBackslash + "\ns = \"" + kanjiBackslash + "\"; t = N;\n" + kanjiBackslash +
             "N = N;\n",
         "#line 2 \"main.qn\"\ns = \"" + kanjiBackslash + "\"; t = 3;\n" + kanjiBackslash + "N = 3;\n"},
        {"strings run across lines, and what looks like a directive in them is text",
         "#define N 3\nt = \"a\n#define N 4\nN\" + N;\nu = N;\n",
         "#line 2 \"main.qn\"\nt = \"a\n#define N 4\nN\" + 3;\nu = 3;\n"},
        {"#! first line, CR LF line ends, half-width katakana, no final newline",
         "#!/usr/bin/env quarn\r\n#define K 1\r\ns = \"\xb1\xb2\" + K;\r\nk = K",
         "#line 3 \"main.qn\"\ns = \"\xb1\xb2\" + 1;\nk = 1\n"},
        {"a comment before the # still makes a directive; a comment left open is dropped",
         "/* one\ntwo */ #define C 5\nc = C; /* open\n", "#line 3 \"main.qn\"\nc = 5; \n"},
        {"blanks go where tokens would otherwise join",
         "#define M -1\n#define E\n#define P +\nx = -M + P+E+ a+P;\n",
         "#line 4 \"main.qn\"\nx = - -1 + + + + a+ +;\n"},
        {"# spells its argument so that the string's value is the spelling",
         "#define S(x) #x\n#define XS(x) S(x)\ns = S(a \\ b   \"q\\n\"  " + kanjiBackslash + ") + S() + XS(__LINE__);\n",
         "#line 3 \"main.qn\"\ns = \"a \\\\ b \\\"q\\\\n\\\" " + kanjiBackslash + "\" + \"\" + \"3\";\n"},
        {"__FILE__ and __LINE__: the scanner's own in the text, the preprocessor's in expansions",
         "#define F __FILE__\n#define L __LINE__\nf = F; l = L; g = __FILE__ + __LINE__;\n",
         "#line 3 \"main.qn\"\nf = \"main.qn\"; l = 3; g = __FILE__ + __LINE__;\n"},
        {"## makes one token or leaves two apart",
         "#define C(a, b) a ## b\nC(x, 1) C(1, e5) C(/, /) C(\"a\", \"b\") C(, y) C(z, )\n",
         "#line 2 \"main.qn\"\nx1 1e5 / / \"a\"\"b\" y z\n"},
        {"a function-like name without ( is a name; a macro is not replaced in itself",
         "#define f(x) <x>\n#define self self + 1\nf + f (1) + f\n(2) + self;\nnext;\n",
         "#line 3 \"main.qn\"\nf + <1> + <2> + self + 1;\n\nnext;\n"},
    };
    for (const TextCase& c : cases) {
        Outcome o = preprocessFiles({{"main.qn", c.main}});
        EXPECT_TRUE(o.ok) << c.what << ": " << (o.messages.empty() ? "" : o.messages[0]);
        EXPECT_EQ(o.text, c.expected) << c.what;
    }
}

TEST(Preprocess, MarkersKeepEveryLineWhereItCameFrom) {
    const Files files = {
        {"main.qn",
         "a;\n#include \"lib.qn\"\nb;\n#if 0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n#endif\nc;\n"
         "#line 100 \"other.qn\"\nd;\n#line 7\ne;\nF(1,\n2); f;\ng;\n#define Z \\\n  0\n\n/*\n*/h;\n"},
        {"lib.qn", "#define F(a, b) (a + b)\nl;\n"},
    };
    Outcome o = preprocessFiles(files);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.text,
              "#line 1 \"main.qn\"\na;\n"
              "#line 2 \"lib.qn\"\nl;\n"
              "#line 3 \"main.qn\"\nb;\n"
              "#line 15 \"main.qn\"\nc;\n"
              "#line 100 \"other.qn\"\nd;\n"
              "#line 7 \"other.qn\"\ne;\n"
              "(1 + 2); f;\n\ng;\n"
              "\n\n\n/*\n*/h;\n");
}

TEST(Preprocess, IncludesAreLookedForBesideTheIncluderThenInTheFoldersInOrder) {
    const Files files = {
        {"main.qn", "#include \"sub/a.qn\"\n#include <b.qn>\n#define NAME \"sub/a.qn\"\n#include NAME\n"
                    "#define ANGLED <c.qn>\n#include ANGLED\n#include \"/abs/d.qn\"\n"},
        {"sub/a.qn", "#include \"b.qn\"\n"},   // beside sub/a.qn
        {"sub/b.qn", "sub_b;\n"},
        {"one/b.qn", kDirectory},             // a folder of that name is passed over
        {"two/b.qn", "two_b;\n"},
        {"one/c.qn", "one_c;\n"},
        {"two/c.qn", "two_c;\n"},
        {"/abs/d.qn", "abs_d;\n"},
    };
    Outcome o = preprocessFiles(files, {"-Ione", "-I", "-Itwo/"});
    ASSERT_TRUE(o.ok) << o.messages[0];
    EXPECT_EQ(words(o.text), "sub_b; two_b; sub_b; one_c; abs_d;");
    EXPECT_NE(o.text.find("#line 1 \"sub/b.qn\""), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("#line 1 \"two/b.qn\""), std::string::npos) << o.text;
}

TEST(Preprocess, ConditionalsAndCommandLineOptionsInOrder) {
    const std::string chain =
        "#ifdef A\na\n#elif defined(B) && !defined A\nb\n#else\nc\n#endif\n"
        "#ifndef B\nnotB\n#endif\n";
    const struct {
        std::vector<std::string> options;
        std::string main;
        std::string expected;
    } cases[] = {
        {{}, chain, "c notB"},
        {{"-DB"}, chain, "b"},
        {{"-DA", "-DB"}, chain, "a"},
        {{"-DA", "-UA"}, chain, "c notB"},
        {{"-UA", "-DA=2", "-D", "-U"}, chain + "A;\n", "a notB 2;"},
        {{"-DF(x)=x+1", "-DE="}, "F(2) [E]\n", "2+1 []"},
        {{"-DV=1\n#define W 2"}, "V W\n", "1 #define W 2 W"},
        // Groups left out are only read for their structure.
        {{}, "#if 0\n#if garbage (\n#elif 1/0\n#else\n#error no\n#endif\n#bogus\n#else\nyes\n#endif\n", "yes"},
        {{}, "#if 1\none\n#elif 1/0\ntwo\n#else\nthree\n#endif\n", "one"},
        {{}, "#if 0\n#elif 0\n#elif 2\nthird\n#else\nno\n#endif\n", "third"},
        {{}, "#define X\n#undef X\n#ifdef X\nno\n#endif\n#pragma once\n#unknown directive\n#\n# 12 \"x\"\nend\n", "end"},
    };
    for (const auto& c : cases) {
        Outcome o = preprocessFiles({{"main.qn", c.main}}, c.options);
        EXPECT_TRUE(o.ok) << c.main << (o.messages.empty() ? "" : o.messages[0]);
        EXPECT_EQ(words(o.text), c.expected) << c.main;
    }
}

TEST(Preprocess, IfExpressionsComputeLikeC) {
    const struct {
        const char* expression;
        const char* value;
    } cases[] = {
        {"1 + 2 * 3", "7"},
        {"(1 + 2) * 3", "9"},
        {"10 - 2 - 3", "5"},
        {"64 / 4 / 2", "8"},
        {"-7 / 2", "-3"},
        {"-7 % 2", "-1"},
        {"7 / -2", "-3"},
        {"- - 3 + +1", "4"},
        {"~0", "-1"},
        {"!0 + !5", "1"},
        {"1 < 2 == 1 > 0 != 0", "1"},
        {"(2 || 0) + (0 && 1) + (3 & 5) + (3 | 5) + (3 ^ 5)", "15"},
        {"(1 << 63) < 0", "1"},
        {"1 << 64", "0"},
        {"-1 >> 70", "-1"},
        {"-16 >> 2", "-4"},
        {"8 >> -1", "16"},
        {"9223372036854775807 + 1 < 0", "1"},
        {"(-9223372036854775807 - 1) / -1 < 0", "1"},
        {"(-9223372036854775807 - 1) % -1", "0"},
        {"1 ? 2 : 3", "2"},
        {"0 ? 1 / 0 : 0 ? 5 : 4", "4"},
        {"0 && 1 / 0", "0"},
        {"1 || 1 % 0", "1"},
        {"defined N + defined(N) + defined M + defined __LINE__", "3"},
        {"UNDEFINED + N * 2", "6"},
        {"SQUARE(N + 1)", "16"},
        {"DEF + DEF", "2"},
        {"__LINE__", "4"},
    };
    for (const auto& c : cases) {
        std::string main = "#define N 3\n#define SQUARE(x) ((x) * (x))\n#define DEF defined N\n#if (" +
                           std::string(c.expression) + ") == (" + c.value + ")\nyes\n#else\nno\n#endif\n";
        Outcome o = preprocessFiles({{"main.qn", main}});
        EXPECT_TRUE(o.ok) << c.expression << (o.messages.empty() ? "" : ": " + o.messages[0]);
        EXPECT_EQ(words(o.text), "yes") << c.expression;
    }
}

// main.qn, then a chain of n files, each including the next.
Files includeChain(int n) {
    Files files = {{"main.qn", "#include \"f1.qn\"\n"}};
    for (int i = 1; i <= n; ++i)
        files["f" + std::to_string(i) + ".qn"] = i < n ? "#include \"f" + std::to_string(i + 1) + ".qn\"\n" : "end;\n";
    return files;
}

TEST(Preprocess, EveryFaultIsOneMessageWithItsFileAndLine) {
    EXPECT_TRUE(preprocessFiles(includeChain(200)).ok);
    const std::string deepParens = "#if " + std::string(300, '(') + "1" + std::string(300, ')') + "\n#endif\n";
    std::string deepCalls = "#define F(x) x\n";
    for (int i = 0; i < 300; ++i) deepCalls += "F(";
    deepCalls += "1" + std::string(300, ')') + "\n";
    std::string manyParams = "#define F(p0";
    for (int i = 1; i <= 1024; ++i) manyParams += ", p" + std::to_string(i);
    manyParams += ") x\n";
    std::string bigDefinitions;  // 5 of 450,000 tokens each
    for (int i = 0; i < 5; ++i) {
        bigDefinitions += "#define BIG" + std::to_string(i);
        for (int k = 0; k < 450000; ++k) bigDefinitions += " x";
        bigDefinitions += "\n";
    }
    const struct {
        Files files;
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{{"main.qn", "x;\n#if 1\n"}}, {}, "error [main.qn:2]: unterminated #if"},
        {{{"main.qn", "#ifdef A\n#ifndef B\n#endif\n"}}, {}, "error [main.qn:1]: unterminated #ifdef"},
        {{{"main.qn", "#ifdef\n#endif\n"}}, {}, "error [main.qn:1]: no macro name given in #ifdef directive"},
        {{{"main.qn", "#ifndef 3\n#endif\n"}}, {}, "error [main.qn:1]: macro names must be identifiers"},
        {{{"main.qn", "\n#endif\n"}}, {}, "error [main.qn:2]: #endif without #if"},
        {{{"main.qn", "#else\n"}}, {}, "error [main.qn:1]: #else without #if"},
        {{{"main.qn", "#if 1\n#else\n#elif 1\n#endif\n"}}, {}, "error [main.qn:3]: #elif after #else"},
        {{{"main.qn", "#if 0\n#else\n#else\n#endif\n"}}, {}, "error [main.qn:3]: #else after #else"},
        {{{"main.qn", "#if\n#endif\n"}}, {}, "error [main.qn:1]: #if with no expression"},
        {{{"main.qn", "#if 1/0\n#endif\n"}}, {}, "error [main.qn:1]: division by zero in #if"},
        {{{"main.qn", "#if (1\n#endif\n"}}, {}, "error [main.qn:1]: missing \")\" in #if expression"},
        {{{"main.qn", "#if 1 +\n#endif\n"}}, {}, "error [main.qn:1]: #if expression ends too soon"},
        {{{"main.qn", "#if 1 ? 2\n#endif\n"}}, {}, "error [main.qn:1]: \"?\" without \":\" in #if expression"},
        {{{"main.qn", "#if 1.5\n#endif\n"}}, {}, "error [main.qn:1]: \"1.5\" is not an integer (in #if)"},
        {{{"main.qn", "#if 99999999999999999999\n#endif\n"}}, {}, "error [main.qn:1]: integer 99999999999999999999 too large in #if"},
        {{{"main.qn", "#if 1 2\n#endif\n"}}, {}, "error [main.qn:1]: unexpected \"2\" in #if expression"},
        {{{"main.qn", "#if \"s\"\n#endif\n"}}, {}, "error [main.qn:1]: unexpected \"\"s\"\" in #if expression"},
        {{{"main.qn", "#if defined\n#endif\n"}}, {}, "error [main.qn:1]: operator \"defined\" requires an identifier"},
        {{{"main.qn", "#if defined(X\n#endif\n"}}, {}, "error [main.qn:1]: missing \")\" after \"defined\""},
        {{{"main.qn", deepParens}}, {}, "error [main.qn:1]: #if expression nested too deeply"},
        {{{"main.qn", "\n#error stop \"here\"  now // why\n"}}, {}, "error [main.qn:2]: #error stop \"here\" now"},
        {{{"main.qn", "#define 3 x\n"}}, {}, "error [main.qn:1]: macro names must be identifiers"},
        {{{"main.qn", "#define\n"}}, {}, "error [main.qn:1]: no macro name given in #define directive"},
        {{{"main.qn", "#undef\n"}}, {}, "error [main.qn:1]: no macro name given in #undef directive"},
        {{{"main.qn", "#define defined 1\n"}}, {}, "error [main.qn:1]: \"defined\" cannot be used as a macro name"},
        {{{"main.qn", "#define F(a, a) a\n"}}, {}, "error [main.qn:1]: duplicate parameter \"a\" of F"},
        {{{"main.qn", "#define F(1) x\n"}}, {}, "error [main.qn:1]: \"1\" cannot be a parameter of F"},
        {{{"main.qn", "#define F(a\n"}}, {}, "error [main.qn:1]: missing \")\" in the parameters of F"},
        {{{"main.qn", "#define F(a, ...\n"}}, {}, "error [main.qn:1]: missing \")\" after \"...\" in the parameters of F"},
        {{{"main.qn", "#define F(a) #b\n"}}, {}, "error [main.qn:1]: \"#\" is not followed by a parameter in the replacement of F"},
        {{{"main.qn", "#define F ## a\n"}}, {}, "error [main.qn:1]: \"##\" cannot begin or end the replacement of F"},
        {{{"main.qn", "#define F(a, b) a\nF(1)\n"}}, {}, "error [main.qn:2]: macro \"F\" requires 2 arguments, but only 1 given"},
        {{{"main.qn", "#define F(a) a\nF(1,\n#define X\n)\n"}}, {}, "error [main.qn:2]: unterminated argument list invoking macro \"F\""},
        {{{"main.qn", deepCalls}}, {}, "error [main.qn:2]: macro arguments nested too deeply"},
        {{{"main.qn", manyParams}}, {}, "error [main.qn:1]: too many parameters of F"},
        {{{"main.qn", bigDefinitions}}, {}, "error [main.qn:5]: macro definitions too large in all"},
        {{{"main.qn", "\n#error " + std::string(1 << 20, 'e') + "\n"}}, {}, "error [main.qn:2]: directive too long (over 1 MiB)"},
        {{{"main.qn", "#line x\n"}}, {}, "error [main.qn:1]: #line needs a line number"},
        {{{"main.qn", "#line 0\n"}}, {}, "error [main.qn:1]: line number out of range"},
        {{{"main.qn", "#line 2147483647\nx\n"}}, {}, "error [main.qn:1]: line number out of range"},
        {{{"main.qn", "#line 5 x\n"}}, {}, "error [main.qn:1]: invalid file name in #line"},
        {{{"main.qn", "#line 50 \"x.qn\"\n#error e\n"}}, {}, "error [x.qn:50]: #error e"},
        {{{"main.qn", "#include\n"}}, {}, "error [main.qn:1]: #include expects \"FILENAME\" or <FILENAME>"},
        {{{"main.qn", "#include \"\"\n"}}, {}, "error [main.qn:1]: empty file name in #include"},
        {{{"main.qn", "#include <a.qn\n"}}, {}, "error [main.qn:1]: missing \">\" in #include"},
        {{{"main.qn", "#include \"a.qn\"\n"}, {"a.qn", kDirectory}}, {}, "error [main.qn:1]: include file \"a.qn\" not found"},
        {{{"main.qn", "\n#include \"a.qn\"\n"}, {"a.qn", "<unreadable>"}}, {},
         "error [main.qn:2]: cannot read include file \"a.qn\": Permission denied"},
        {includeChain(201), {}, "error [f200.qn:1]: #include nested too deeply"},
        {{{"main.qn", "#include \"lib.qn\"\n"}, {"lib.qn", "x;\n\n#if 1\n"}}, {}, "error [lib.qn:3]: unterminated #if"},
        {{{"main.qn", "#include \"lib.qn\"\n"}, {"lib.qn", "x;\ns = \"\\\";\n"}}, {}, "error [lib.qn:2]: Unterminated string"},
        {{{"main.qn", "#include \"lib.qn\"\n"}, {"lib.qn", std::string("a\nb\0c\n", 6)}}, {},
         "error [lib.qn:2]: NUL byte in the text (not a text file?)"},
        {{{"main.qn", "s = \"\\\";\nx = 1;\n"}}, {}, "error [main.qn:1]: Unterminated string"},
        {{{"main.qn", "s = \"\\\";\nprint(\"x\");\n"}}, {},
         "error [main.qn:2]: Unterminated string (the string opened at line 1 runs across lines)"},
        {{{"main.qn", "#if 0\ns = \"\\\";\n#endif\n"}}, {}, "error [main.qn:2]: Unterminated string"},
        {{{"main.qn", "#define F(a) a\nF(\"open\n)\n"}}, {}, "error [main.qn:2]: Unterminated string"},
        {{{"main.qn", "x\n"}}, {"-D3"}, "error: option \"-D3\": macro names must be identifiers"},
        {{{"main.qn", "x\n"}}, {"-DF(=1"}, "error: option \"-DF(=1\": \"1\" cannot be a parameter of F"},
    };
    for (const auto& c : cases) {
        Outcome o = preprocessFiles(c.files, c.options);
        EXPECT_FALSE(o.ok) << c.message;
        EXPECT_EQ(o.text, "") << c.message;
        ASSERT_EQ(o.messages.size(), 1u) << c.message;
        EXPECT_EQ(o.messages[0], c.message);
    }
}

TEST(Preprocess, CtrlCStopsIt) {
    std::string many;
    for (int i = 0; i < 1000; ++i) many += "x;\n";
    requestInterrupt();
    Outcome o = preprocessFiles({{"main.qn", many}});
    clearInterrupt();
    EXPECT_FALSE(o.ok);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_TRUE(std::regex_match(o.messages[0], std::regex(R"(error \[main\.qn:\d+\]: Interrupted)"))) << o.messages[0];
}

// The real file system, through the entry the script runner calls.
class PreprocessFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarn-pp-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = std::string(pattern) + "/";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(dir_ + name).parent_path());
        std::ofstream(dir_ + name, std::ios::binary) << text;
        return dir_ + name;
    }
    std::string read(const std::string& name) {
        std::ifstream in(dir_ + name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static int run(std::vector<std::string> args, std::string* text = nullptr) {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        int argc = static_cast<int>(argv.size());
        return text ? cpp_main(argc, argv.data(), *text) : cpp_main(argc, argv.data());
    }
    std::string dir_;
};

// Missing files, folders and /dev/zero: driver/preprocessor_errors.qn.
TEST_F(PreprocessFiles, ReadingRefusesWhatIsNotText) {
    SourceFile crlf = readSourceFile(write("crlf", "a\r\nb\rc\r\n"));
    EXPECT_EQ(crlf.status, SourceFile::Read);
    EXPECT_EQ(crlf.bytes, "a\nb\rc\n");
    SourceFile nul = readSourceFile(write("nul", std::string("a\nb\n\0", 5)));
    EXPECT_EQ(nul.status, SourceFile::Failed);
    EXPECT_EQ(nul.line, 3);
    SourceFile wide = readSourceFile(write("wide", "x\n" + std::string((16 << 20) + 1, 'a')));
    EXPECT_EQ(wide.error, "line too long (over 16 MiB)");
    EXPECT_EQ(wide.line, 2);
}

TEST_F(PreprocessFiles, TheEntryTakesTheRunnersArguments) {
    write("a.qn", "#include \"inc.qn\"\n#include <inc.qn>\nv = X;\n");
    write("inc.qn", "beside;\n");
    write("lib/inc.qn", "lib;\n");
    write("mod/inc.qn", "module;\n");
    std::string text;
    // The module folder comes last; a bare -I names nothing.
    const std::string tooLong = "-I" + std::string(5000, 'd');
    ASSERT_EQ(run({"", "-DX=7", "-I", tooLong, "-I" + dir_ + "lib", "-I" + dir_ + "mod/", dir_ + "a.qn"}, &text), 0);
    EXPECT_EQ(words(text), "beside; lib; v = 7;");
    // The form that writes its output to -o, never through a planted link.
    ASSERT_EQ(run({"", "-DX=8", "-I" + dir_ + "lib", "-o" + dir_ + "out.i", dir_ + "a.qn"}), 0);
    EXPECT_EQ(words(read("out.i")), "beside; lib; v = 8;");
    write("victim", "keep");
    ASSERT_EQ(symlink((dir_ + "victim").c_str(), (dir_ + "link.i").c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_NE(run({"", "-o" + dir_ + "link.i", dir_ + "a.qn"}), 0);
    EXPECT_NE(run({"", "-q", dir_ + "a.qn"}, &text), 0);
    EXPECT_NE(run({"", dir_ + "a.qn"}), 0);  // no -o
    EXPECT_NE(run({"", dir_ + "missing.qn"}, &text), 0);
    EXPECT_NE(run({"", tooLong.substr(2)}, &text), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(read("victim"), "keep");
    EXPECT_NE(err.find("error: unknown preprocessor option \"-q\""), std::string::npos) << err;
    EXPECT_NE(err.find("missing.qn\": No such file or directory"), std::string::npos) << err;
    EXPECT_NE(err.find("ddd\": File name too long"), std::string::npos) << err;
}

}  // namespace
