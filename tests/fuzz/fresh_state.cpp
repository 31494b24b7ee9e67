#include "fresh_state.h"

#include "builtins/builtins.h"
#include "exec/exec.h"
#include "files/files.h"
#include "frontend/scanner_state.h"
#include "sandbox_builtins.h"
#include "value/settings.h"

void openFreshState() {
    scanner_reset_mode();
    registerCoreBuiltins();
    installSandboxBuiltins();
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
