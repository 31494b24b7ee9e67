// Whole-run fuzz targets. fuzz_run: any bytes run as a program text, the way
// talk-mode lines and eval texts are run. fuzz_script (built with
// QUARN_FUZZ_SCRIPT): any bytes as a script file, preprocessed, parsed and
// run the way the driver runs a script; it may include "lib.qn", a small
// library of macros, and "self.qn", the input itself, and no other file
// exists. Either way the program's main runs after it, with the core
// built-ins registered (those that reach outside the process refused) and a
// fresh global frame; each input starts from the same state and runs under a
// time cap (an interrupt, as Ctrl-C sends, which also reaches the
// preprocessor) and the memory limits of the sanitizer options below.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "exec/exec.h"
#include "fresh_state.h"
#include "platform/interrupt.h"
#include "platform/preprocess.h"
#include "run_limits.h"

namespace {

InterpreterThread* g_interpreter = nullptr;
TimeCap* g_timeCap = nullptr;

#ifdef QUARN_FUZZ_SCRIPT
const char kLibrary[] =
    "#ifndef LIB\n#define LIB\n"
    "#define SQUARE(x) ((x) * (x))\n"
    "#define CAT(a, b) a ## b\n"
    "#define STR(x) #x\n"
    "#define CALL(f, ...) f(__VA_ARGS__)\n"
    "#define LOG(fmt, ...) printf(fmt \"\\n\", ## __VA_ARGS__)\n"
    "#define TWICE(x) x x\n"
    "#if defined(FUZZ) && FUZZ > 0\nfunction lib_square(v) { return SQUARE(v); }\n#endif\n"
    "#endif\n";

// The input preprocessed as the script "fuzz.qn"; empty when that fails.
std::string programText(const std::string& input) {
    PreprocessJob job;
    job.script = "fuzz.qn";
    job.options = {"-DFUZZ=1", "-UNONE", "-Ilib"};
    job.read = [&input](const std::string& path) {
        SourceFile file;
        if (path == "fuzz.qn" || path == "self.qn" || path == "lib/self.qn") {
            file.status = SourceFile::Read;
            file.bytes = input;
        } else if (path == "lib.qn" || path == "lib/lib.qn") {
            file.status = SourceFile::Read;
            file.bytes = kLibrary;
        }
        return file;
    };
    job.report = [](const std::string&) {};
    std::string text;
    if (!preprocess(job, text)) text.clear();
    // The preprocessor refuses NUL bytes: the scanner would lose the rest.
    if (text.find('\0') != std::string::npos) std::abort();
    return text;
}
#else
// The text ends at its first NUL byte, as every program text does.
std::string programText(const std::string& input) { return input.c_str(); }
#endif

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
    const std::string input(reinterpret_cast<const char*>(data), size);
    g_interpreter->run([&input] {
        openFreshState();
        g_timeCap->arm(kTimeCapMs);
        const std::string text = programText(input);
        if (!text.empty()) {
            runText(text.c_str());
            callMain();
        }
        // An interrupt that came after the program's last step must not
        // reach the next input.
        g_timeCap->disarm();
        clearInterrupt();
        takeRunInterrupted();
        clearState();
    });
    return 0;
}
