// Preprocessing speed: a 10,000-line script without directives (the target:
// under 5 ms of CPU, reading the file included), the same script with
// macros used on every line, and GNU cpp on the plain script for scale.
// CPU time (user + system) is compared, best of several runs.
// Build and run: ninja bench_platform && ./bench_platform
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "platform/preprocess.h"

namespace {

// Ten lines a script typically holds, repeated: names, numbers, strings
// (one with a kanji whose second byte is a backslash), comments, transposes.
std::string plainScript(int lines, bool useMacros) {
    std::string text;
    if (useMacros)
        text += "#define SQUARE(x) ((x) * (x))\n#define SCALE 2.5\n#define NORM(v) sqrt(real((v) . (v)'))\n";
    for (int i = 0; i < lines / 10; ++i) {
        std::string n = std::to_string(i);
        text += "function f" + n + "(a, b) {\n";
        text += "    var t = [a, b][b, a], s = \"text " + n + " \x95\x5c\";  // a comment\n";
        text += "    for (k = 0; k < 10; k++) { t[k % 2, 0] += a * b ^ 2 - k'; }\n";
        text += useMacros ? "    u = SQUARE(a + b) * SCALE + NORM(t);\n" : "    u = (a + b) * (a + b) * 2.5 + t';\n";
        text += "    if (a == b && !s) return t; else return -t';\n";
        text += "}\n";
        text += "/* block comment " + n + " */ x" + n + " = f" + n + "(1.5, 2e3i) + @pi;\n";
        text += "y" + n + " = x" + n + "' * [1, 2, 3] + \"it's\";\n";
        text += useMacros ? "z" + n + " = SQUARE(y" + n + ");\n" : "z" + n + " = y" + n + " .* y" + n + ";\n";
        text += "print(z" + n + ");\n";
    }
    return text;
}

double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double childCpuSeconds() {
    rusage r;
    getrusage(RUSAGE_CHILDREN, &r);
    return r.ru_utime.tv_sec + r.ru_utime.tv_usec * 1e-6 + r.ru_stime.tv_sec + r.ru_stime.tv_usec * 1e-6;
}

// Best CPU time of our preprocessor on `path`, in seconds.
double ours(const std::string& path, int repeats, std::size_t& outBytes) {
    double best = 1e9;
    for (int r = 0; r < repeats; ++r) {
        std::vector<std::string> words = {"", "-I/nonexistent/", path};
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        std::string text;
        double start = cpuSeconds();
        int rc = cpp_main(static_cast<int>(argv.size()), argv.data(), text);
        double t = cpuSeconds() - start;
        if (rc != 0) std::exit(1);
        outBytes = text.size();
        if (t < best) best = t;
    }
    return best;
}

double gnu(const std::string& path, int repeats) {
    double best = 1e9;
    const std::string command = "cpp -P -w -undef -nostdinc -x c '" + path + "' > /dev/null 2>&1";
    for (int r = 0; r < repeats; ++r) {
        double start = childCpuSeconds();
        if (std::system(command.c_str()) != 0) return -1;
        double t = childCpuSeconds() - start;
        if (t < best) best = t;
    }
    return best;
}

}  // namespace

int main() {
    const int lines = 10000;
    const std::string dir = "/tmp/quarn-pp-bench-" + std::to_string(getpid());
    const std::string plain = dir + "-plain.qn", macros = dir + "-macros.qn";
    std::ofstream(plain, std::ios::binary) << plainScript(lines, false);
    std::ofstream(macros, std::ios::binary) << plainScript(lines, true);

    std::size_t bytes = 0;
    double tPlain = ours(plain, 30, bytes);
    std::printf("%d lines, no directives:    %.2f ms CPU (%zu bytes out)   target under 5 ms: %s\n", lines,
                tPlain * 1e3, bytes, tPlain < 5e-3 ? "met" : "MISSED");
    double tMacros = ours(macros, 30, bytes);
    std::printf("%d lines, macros on 3 of 10: %.2f ms CPU (%zu bytes out)\n", lines, tMacros * 1e3, bytes);
    double tGnu = gnu(plain, 5);
    if (tGnu > 0) {
        std::printf("GNU cpp, no directives:       %.2f ms CPU (process start included): ours takes %.2f of it\n",
                    tGnu * 1e3, tPlain / tGnu);
    } else {
        std::printf("GNU cpp not run (not installed?)\n");
    }
    std::remove(plain.c_str());
    std::remove(macros.c_str());
    return 0;
}
