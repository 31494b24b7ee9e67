// Parse speed of the front end: a generated program of typical statements is
// attached as a text and parsed, then freed; a second run has an error at
// its very end, so every block of the parse is released through the record.
// Build and run: ninja bench_frontend && ./bench_frontend
#include <chrono>
#include <cstdio>
#include <string>

#include "frontend/frontend.h"
#include "frontend/memman.h"

namespace {

std::string makeProgram(int units) {
    std::string text;
    for (int i = 0; i < units; ++i) {
        std::string n = std::to_string(i);
        text += "function f" + n + "(a, b) {\n"
                "    var t = [a, b][b, a], s = \"text\\t" + n + "\";\n"
                "    for (i = 0; i < 10; i++) { t[i % 2, 0] += a * b ^ 2 - i'; }\n"
                "    if (a == b && !s) return t; else return -t';\n"
                "}\n"
                "x" + n + " = f" + n + "(1.5, 2e3i) /* comment */ + @pi; // line comment\n";
    }
    return text;
}

double secondsFor(const std::string& text, bool& ok, std::size_t& statements) {
    PendingTable pending;
    auto start = std::chrono::steady_clock::now();
    scanner_attach_text(text.c_str());
    Context* program = parse_program(pending);
    ok = program != nullptr;
    statements = program != nullptr ? program->size() + pending.size() : 0;
    delete program;
    for (auto& [key, def] : pending) {
        if (def.params != nullptr) node_free(def.params);
        if (def.body != nullptr) node_free(def.body);
    }
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main() {
    const int units = 20000;
    std::string good = makeProgram(units);
    std::string bad = good + "x = ;\n";
    bool ok;
    std::size_t items;
    for (int round = 0; round < 3; ++round) {
        double t = secondsFor(good, ok, items);
        std::printf("parse + free: %.2f MB, %zu top-level items in %.3f s (%.1f MB/s)%s\n",
                    good.size() / 1e6, items, t, good.size() / 1e6 / t, ok ? "" : " FAILED");
    }
    std::fflush(stdout);
    std::freopen("/dev/null", "w", stderr);  // the one syntax error
    double t = secondsFor(bad, ok, items);
    std::printf("failed parse released: %.3f s%s\n", t, ok ? " UNEXPECTED SUCCESS" : "");
    std::printf("blocks left recorded: %zu\n", memMan().recordedCount());
    return 0;
}
