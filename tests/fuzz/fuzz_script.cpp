// Script fuzz target: any bytes as a script file, preprocessed, parsed and
// run (then its main), the way the driver runs a script. The script may
// include "lib.qn", a small library of macros, and "self.qn", the input
// itself; no other file exists, so nothing outside is read. Runs start from
// the same state, under the time cap and memory limits of the whole-run
// target, and the time cap reaches the preprocessor as Ctrl-C would.
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

InterpreterThread* g_interpreter = nullptr;
TimeCap* g_timeCap = nullptr;

// Preprocesses the input as the script "fuzz.qn"; empty when that fails.
std::string preprocessInput(const std::string& input) {
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
    return text;
}

}  // namespace

extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=64:allocator_may_return_null=1:detect_leaks=1";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
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
        const std::string text = preprocessInput(input);
        // The preprocessor refuses NUL bytes: the scanner would lose the rest.
        if (text.find('\0') != std::string::npos) std::abort();
        if (!text.empty()) {
            runText(text.c_str());
            callMain();
        }
        g_timeCap->disarm();
        clearInterrupt();
        takeRunInterrupted();
        clearState();
    });
    return 0;
}
