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
#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "builtins/builtins.h"
#include "exec/exec.h"
#include "files/files.h"
#include "frontend/scanner_state.h"
#include "platform/interrupt.h"
#include "platform/preprocess.h"
#include "value/raise.h"
#include "value/settings.h"

namespace {

// The sanitizer cannot clean up after an exception that unwinds more than
// 64 MiB of stack (it then warns of false reports to come), and instrumented
// evaluation levels are large, so the stack is kept below that: the
// interpreter's stack check then ends deep recursion before its level count.
constexpr std::size_t kInterpreterStack = std::size_t{48} << 20;
constexpr int kTimeCapMs = 2000;

// Runs jobs on one long-lived thread with a large stack, so that deep
// recursion meets the interpreter's own depth limit as it does in the real
// program instead of the small stack of the fuzzer's thread.
class InterpreterThread {
public:
    InterpreterThread() {
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, kInterpreterStack);
        pthread_t thread;
        if (pthread_create(&thread, &attr, loop, this) != 0) {
            std::fprintf(stderr, "fuzz: cannot start the interpreter thread\n");
            std::abort();
        }
        pthread_attr_destroy(&attr);
        pthread_detach(thread);  // it lives as long as the process: the fuzzer never returns
    }
    void run(const std::function<void()>& job) {
        std::unique_lock<std::mutex> lock(mutex_);
        job_ = &job;
        wake_.notify_all();
        wake_.wait(lock, [this] { return job_ == nullptr; });
    }

private:
    static void* loop(void* arg) {
        InterpreterThread* self = static_cast<InterpreterThread*>(arg);
        std::unique_lock<std::mutex> lock(self->mutex_);
        for (;;) {
            self->wake_.wait(lock, [self] { return self->job_ != nullptr; });
            lock.unlock();
            (*self->job_)();
            lock.lock();
            self->job_ = nullptr;
            self->wake_.notify_all();
        }
        return nullptr;
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    const std::function<void()>* job_ = nullptr;
};

// The time cap: a watchdog requests an interrupt once a run has been armed
// for longer than kTimeCapMs, and again each kTimeCapMs after that. It does
// so holding the lock that disarming takes, so an interrupt never outlives
// the run it was meant for.
std::mutex g_capLock;
bool g_armed = false;
std::chrono::steady_clock::time_point g_deadline;

void armTimeCap(bool on) {
    static const bool watching = [] {
        std::thread([] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                std::lock_guard<std::mutex> lock(g_capLock);
                // Requested again at each period while the run lasts, in
                // case a step took one request without ending the run.
                const auto now = std::chrono::steady_clock::now();
                if (g_armed && now > g_deadline) {
                    requestInterrupt();
                    g_deadline = now + std::chrono::milliseconds(kTimeCapMs);
                }
            }
        }).detach();  // it lives as long as the process: the fuzzer never returns
        return true;
    }();
    (void)watching;
    std::lock_guard<std::mutex> lock(g_capLock);
    g_armed = on;
    g_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeCapMs);
}

void refuse(NContext&, int line, ArgList&, NRefPtr&) { raiseError(line, "Not available in the fuzz run"); }

// Reading is harmless as long as it cannot block: only regular files (or
// names that do not exist, which open() simply fails on) below the working
// folder may be opened, and only for reading, so fuzz input can neither
// create nor truncate files nor wait on a terminal, a pipe or a kernel file.
void readOnlyOpen(NContext& ctx, int line, ArgList& args, NRefPtr& result) {
    NString* name = asString(args[1]);
    NString* mode = asString(args[2]);
    if (name && mode) {
        const std::string& path = name->text;
        struct stat st;
        if (mode->text.empty() || mode->text[0] != 'r' || mode->text.find('+') != std::string::npos ||
            path.empty() || path[0] == '/' || path.find("..") != std::string::npos ||
            (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)))
            raiseError(line, "Not available in the fuzz run");
    }
    bi_open(ctx, line, args, result);
}

// The core table with the keys that reach outside the process refused, one
// global frame, no open file, the default settings, the scanner as a fresh
// program has it.
void openFreshState() {
    scanner_reset_mode();
    registerCoreBuiltins();
    // Built-ins that reach outside the process (shell commands, waits,
    // sound, console keys, writing files) must not run from fuzz input;
    // registering a key again replaces it.
    for (const char* key : {"system$0", "system$1", "sleep$1", "beep$0", "getch$0", "getche$0", "kbhit$0"})
        registerNative(key, refuse);
    registerNative("open$3", readOnlyOpen);
    scopeOpenFunctionFrame();
    setNumberFormat("%.3f");
    setCompareTolerance(0.0);
    setStrictMode(false);
}

// Calls main as the driver does for a script, when the program defines one,
// so that the test scripts among the seeds run their bodies.
void callMain() {
    switch (mainProbe()) {
    case 1:
        runText("exit(main(0));");
        break;
    case 0:
        runText("exit(main());");
        break;
    default:
        break;
    }
}

void clearState() {
    scopeClearAll();
    clearFunctions();
    closeAllFiles();
}

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
    return std::freopen("/dev/null", "r", stdin) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    static InterpreterThread* interpreter = new InterpreterThread;  // never destroyed: its thread never ends
    interpreter->run([&input] {
        openFreshState();
        armTimeCap(true);
        const std::string text = programText(input);
        if (!text.empty()) {
            runText(text.c_str());
            // As in the driver, an interrupted script does not go on to its
            // main (the time cap, once spent, would not stop main again).
            if (!takeRunInterrupted()) callMain();
        }
        // An interrupt that came after the program's last step must not
        // reach the next input.
        armTimeCap(false);
        clearInterrupt();
        takeRunInterrupted();
        clearState();
    });
    return 0;
}
