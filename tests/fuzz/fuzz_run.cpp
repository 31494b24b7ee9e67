// Whole-run fuzz target: any bytes run as a program text, the way talk-mode
// lines and eval texts are run (then its main, if it defines one), with the
// core built-ins registered (those that reach outside the process refused)
// and a fresh global frame. Each input starts from the same state and runs
// under a time cap (an interrupt, as Ctrl-C sends) and the memory limits of
// the sanitizer options below.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "exec/exec.h"
#include "fresh_state.h"
#include "platform/interrupt.h"
#include "run_limits.h"

namespace {

InterpreterThread* g_interpreter = nullptr;
TimeCap* g_timeCap = nullptr;

}  // namespace

// malloc past the allocation cap returns null, as new does (allocation_cap.cpp):
// the interpreter must then report "Not enough memory" rather than crash.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=64:allocator_may_return_null=1:detect_leaks=1";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Console input reads an immediate end of input instead of waiting.
    if (!std::freopen("/dev/null", "r", stdin)) return 1;
    g_interpreter = new InterpreterThread(kInterpreterStack);
    g_timeCap = new TimeCap([] { requestInterrupt(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text ends at its first NUL byte, as every program text does.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text(bytes.c_str());
    g_interpreter->run([&text] {
        openFreshState();
        g_timeCap->arm(kTimeCapMs);
        runText(text.c_str());
        callMain();
        // An interrupt that came after the program's last step must not
        // reach the next input.
        g_timeCap->disarm();
        clearInterrupt();
        takeRunInterrupted();
        clearState();
    });
    return 0;
}
