#include "fresh_state.h"

#include <sys/stat.h>

#include "builtins/builtins.h"
#include "exec/exec.h"
#include "files/files.h"
#include "frontend/scanner_state.h"
#include "value/raise.h"
#include "value/settings.h"

namespace {

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

}  // namespace

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
