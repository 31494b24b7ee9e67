// The preprocessor against GNU cpp on macro-heavy texts that mean the same
// in C and in the script language (no apostrophes, no backslashes outside
// strings, decimal numbers only): the token streams must be equal. Blanks,
// blank lines and line markers may differ.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/preprocess.h"
#include "platform/preprocessor/lexer.h"

namespace {

const char* const kCorpus[] = {
    // Rescanning, nesting and the macros that are not replaced in themselves.
    R"(#define x 3
#define f(a) f(x * (a))
#undef x
#define x 2
#define g f
#define z z[0]
#define h g(~
#define m(a) a(w)
#define w 0,1
#define t(a) a
#define p() int
#define q(x) x
#define r(x,y) x ## y
#define str(x) # x
f(y+1) + f(f(z)) % t(t(g)(0) + t)(1);
g(x+(3,4)-w) | h 5) & m
(f)^m(m);
p() i[q()] = { q(1), r(2,3), r(4,), r(,5), r(,) };
char c[2][6] = { str(hello), str() };
)",
    // # and ## with placemarkers, and ## made by ##.
    R"(#define hash_hash # ## #
#define mkstr(a) # a
#define in_between(a) mkstr(a)
#define join(c, d) in_between(c hash_hash d)
char p[] = join(x, y);
#define t(x,y,z) x ## y ## z
int j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,),
 t(10,,), t(,11,), t(,,12), t(,,) };
#define cat(a, b) a ## b
#define xcat(a, b) cat(a, b)
cat(x, 1) cat(1, 2) cat(1., 5) xcat(cat(a,b), c) cat(,) cat(+,=) cat(-,-) cat(<,<)
#define str(x) #x
#define xstr(x) str(x)
str("a\n" "b\"c") str( a  +   b ) xstr(cat(1, 2)) str(  ) xstr(__LINE__)
)",
    // Variable arguments.
    R"(#define debug(...) fprintf(stderr, __VA_ARGS__)
#define showlist(...) puts(#__VA_ARGS__)
#define report(test, ...) ((test)?puts(#test): printf(__VA_ARGS__))
debug("Flag");
debug("X = %d\n", x);
showlist(The first, second, and third items.);
report(x>y, "x is %d but y is %d", x, y);
#define P(f, ...) printf(f, ## __VA_ARGS__)
P("a"); P("a", 1, 2); P("b",);
#define COUNT(...) COUNT_(__VA_ARGS__, 3, 2, 1, 0)
#define COUNT_(a, b, c, n, ...) n
COUNT(x) COUNT(x, y) COUNT(x, y, z)
#define FIRST(a, ...) a
#define REST(a, ...) __VA_ARGS__
FIRST(1, 2, 3) REST(1, 2, 3) REST(1)
)",
    // Function-like macros whose "(" comes later, on later lines or from the text.
    R"(#define f(x) x f
f(1)(2)(3);
#define ff(a) a*gg
#define gg(a) ff(a)
ff(2)(9);
#define obj fl
#define fl(x) [x]
obj(3) obj
(4) obj;
#define LPAREN (
#define RPAREN )
#define F(x, y) x + y
#define ELLIP_FUNC(...) __VA_ARGS__
ELLIP_FUNC(F, LPAREN, a, b, RPAREN);
#define AA BB
#define BB AA
AA BB
#define APPLY(m, v) m(v)
#define TWICE(v) (v) * 2
APPLY(TWICE, APPLY(TWICE, 3))
#define EMPTY
#define DEFER(id) id EMPTY
DEFER(fl)(5)
)",
};

std::vector<std::string> tokensOf(const std::string& text) {
    std::vector<std::string> tokens;
    pp::Lexer lexer(text, false);
    bool lineStart = true;
    for (pp::Token t = lexer.next(); t.kind != pp::TokenKind::End; t = lexer.next()) {
        // A line marker is not part of the text.
        if (lineStart && t.kind == pp::TokenKind::Punctuator && t.text == "#") {
            while (t.kind != pp::TokenKind::Newline && t.kind != pp::TokenKind::End) t = lexer.next();
        } else if (t.kind != pp::TokenKind::Newline) {
            tokens.push_back(t.text);
        }
        lineStart = t.kind == pp::TokenKind::Newline;
    }
    return tokens;
}

std::string gnuCpp(const std::string& path, int& status) {
    std::string command = "cpp -P -undef -nostdinc -x c '" + path + "' 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    if (pipe == nullptr) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

std::string joined(const std::vector<std::string>& tokens) {
    std::string s;
    for (const std::string& t : tokens) s += t + " ";
    return s;
}

TEST(PreprocessAgainstGnuCpp, SameTokens) {
    ASSERT_EQ(std::system("command -v cpp > /dev/null"), 0) << "GNU cpp is missing: tools/setup.sh installs it";
    const std::string path = std::filesystem::temp_directory_path() / ("quarn-pp-gnu-" + std::to_string(getpid()) + ".qn");
    for (const char* source : kCorpus) {
        std::ofstream(path, std::ios::binary) << source;
        int status = 0;
        const std::string gnu = gnuCpp(path, status);
        ASSERT_EQ(status, 0) << source;
        PreprocessJob job;
        job.script = path;
        std::string ours;
        ASSERT_TRUE(preprocess(job, ours)) << source;
        EXPECT_EQ(joined(tokensOf(ours)), joined(tokensOf(gnu))) << source;
    }
    std::filesystem::remove(path);
}

}  // namespace
