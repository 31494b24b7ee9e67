// Start-up, the script and its main function, and shut-down.
#include <sys/stat.h>

#include <cstdio>

#include "builtins/builtins.h"
#include "driver/driver.h"
#include "exec/exec.h"
#include "graphics/graphics.h"
#include "platform/program_dir.h"

namespace {

bool isRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// "init.qn" and then "user.qn" from the program's directory; a missing one
// is skipped without a message and an error in one does not stop start-up.
void runStartupScripts(const std::string& moduleDirectory) {
    for (const char* name : {"init.qn", "user.qn"}) {
        const std::string path = moduleDirectory + name;
        if (isRegularFile(path)) runScript(path.c_str());
    }
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

constexpr int kStatusFailed = 1;
constexpr int kStatusInterrupted = 130;  // as a shell reports a death by SIGINT

// The named script, then its main; the status they leave for the process.
int runScriptAndMain(const std::string& scriptName) {
    takeRunOutcome();
    runScript(scriptName.c_str());  // its value is discarded
    const RunOutcome script = takeRunOutcome();
    // A user who interrupted the script does not want its main to start.
    // Ctrl-C may also have stopped the preprocessor, before anything ran.
    if (script == RunOutcome::Interrupted || interruptPending()) return kStatusInterrupted;
    // Nothing ran: the script could not be preprocessed, opened or parsed.
    bool failed = script == RunOutcome::NotRun || script == RunOutcome::Failed;
    callMain();
    const RunOutcome main = takeRunOutcome();
    if (main == RunOutcome::Interrupted) return kStatusInterrupted;
    failed = failed || main == RunOutcome::Failed;
    return failed ? kStatusFailed : 0;
}

}  // namespace

int runInterpreter(const CommandLine& line) {
    PreprocessorSettings& settings = preprocessorSettings();
    settings.options = line.preprocessorOptions;
    settings.moduleDirectory = programDirectory();

    registerCoreBuiltins();
    registerGraphicsBuiltins();
    scopeOpenFunctionFrame();  // the global frame, bottom of the scope stack

    armInterrupts();
    runStartupScripts(settings.moduleDirectory);
    int status = 0;
    // Ctrl-C during the start-up scripts stops the script as well.
    if (takeRunInterrupted()) {
        status = kStatusInterrupted;
    } else if (!line.scriptName.empty()) {
        status = runScriptAndMain(line.scriptName);
    }
    clearInterrupt();
    takeRunInterrupted();
    if (line.talk) {
        talkMode();
        status = 0;
    }

    scopeClearAll();
    clearFunctions();
    std::fflush(stdout);
    return status;
}
