// Whole-run fuzz target: any bytes run as a program text, the way talk-mode
// lines and eval texts are run, with the core built-ins registered (those
// that reach outside the process refused) and a fresh global frame. Each
// input starts from the same state and runs under a time cap and the memory
// limits of the sanitizer options below.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "builtins/builtins.h"
#include "exec/exec.h"
#include "files/files.h"
#include "frontend/scanner_state.h"
#include "run_limits.h"
#include "sandbox_builtins.h"
#include "value/settings.h"

// Stops the running program soon with a run-time error. Weak, so the target
// still links against an executor without it; inputs that could run long are
// then skipped (see mayRunLong).
void requestInterrupt() __attribute__((weak));

namespace {

constexpr std::size_t kInterpreterStack = std::size_t{512} << 20;
constexpr int kTimeCapMs = 2000;

// Without an interrupt, only texts that cannot loop are run: no loop
// statements, no functions (recursion) and no eval (which can build either).
bool mayRunLong(const std::string& text) {
    for (const char* word : {"while", "for", "do", "function", "eval"})
        if (text.find(word) != std::string::npos) return true;
    return false;
}

// The state every input starts from: the core table with the sandboxed
// keys, one global frame, no open file, the default settings.
void openFreshState() {
    scanner_reset_mode();
    registerCoreBuiltins();
    installSandboxBuiltins();
    scopeOpenFunctionFrame();
    setNumberFormat("%.3f");
    setCompareTolerance(0.0);
    setStrictMode(false);
}

void clearState() {
    scopeClearAll();
    clearFunctions();
    closeAllFiles();
}

InterpreterThread* g_interpreter = nullptr;
TimeCap* g_timeCap = nullptr;

}  // namespace

// Sizes past these are refused as the system refusing them would be: the
// interpreter must then report "Not enough memory" rather than crash.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=64:allocator_may_return_null=1:detect_leaks=1";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Console input reads an immediate end of input instead of waiting.
    if (!std::freopen("/dev/null", "r", stdin)) return 1;
    g_interpreter = new InterpreterThread(kInterpreterStack);
    if (requestInterrupt) g_timeCap = new TimeCap(requestInterrupt);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text ends at its first NUL byte, as every program text does.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text(bytes.c_str());
    if (!g_timeCap && mayRunLong(text)) return -1;  // not added to the corpus
    g_interpreter->run([&text] {
        openFreshState();
        if (g_timeCap) g_timeCap->arm(kTimeCapMs);
        runText(text.c_str());
        // An interrupt that came after the program's last check must not
        // reach the next input: a short loop takes it here.
        if (g_timeCap && g_timeCap->disarm()) runText("for (i = 0; i < 100; i++) ;");
        clearState();
    });
    return 0;
}
