// The run entry points: a script file (preprocessed first) or a program text.
#include <cstdio>
#include <string>
#include <vector>

#include "exec/exec.h"
#include "exec/functions.h"
#include "exec/interrupt.h"
#include "exec/prepare.h"
#include "platform/interrupt.h"
#include "platform/preprocess.h"
#include "value/raise.h"

PreprocessorSettings& preprocessorSettings() {
    static PreprocessorSettings settings;
    return settings;
}

namespace {

// Runs nested inside another run (eval, console input): an interruption
// passes through them to the outermost run.
int g_runNesting = 0;
RunOutcome g_outcome = RunOutcome::NotRun;

// Runs a parsed tree and deletes it; errors are reported here.
NRefPtr runTree(Context* tree) {
    std::size_t depth = scopeDepth();
    NRefPtr result;
    struct Nesting {
        Nesting() { ++g_runNesting; }
        ~Nesting() { --g_runNesting; }
    } nesting;
    RunOutcome outcome = RunOutcome::Completed;
    try {
        NContext ctx;
        result = runList(ctx, tree);
        if (ctx.state == CS_RETURN || ctx.state == CS_EXIT) {
            result = ctx.takeValue();
        } else if (ctx.state == CS_BREAK || ctx.state == CS_CONTINUE) {
            int where = ctx.line;
            ctx.takeValue();
            raiseError(where, "Bad break or continue");
        }
        // Ctrl-C during the last step (a key or a command it waited for).
        if (interruptPending()) raiseInterrupted(0);
    } catch (const InterruptedError& e) {
        if (g_runNesting > 1) {
            scopeCutTo(depth);
            delete tree;
            throw;
        }
        std::fprintf(stderr, "%s\n", e.what());
        noteRunInterrupted();
        outcome = RunOutcome::Interrupted;
        result.reset();
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        outcome = RunOutcome::Failed;
        result.reset();
    }
    if (g_runNesting == 1) g_outcome = outcome;
    scopeCutTo(depth);
    delete tree;
    return result;
}

Context* parseAttached() {
    PendingTable pending;
    Context* tree = parse_program(pending);
    scanner_detach();
    if (tree) {
        prepareList(*tree);
        commitPending(pending);
    }
    return tree;
}

}  // namespace

RunOutcome takeRunOutcome() {
    RunOutcome was = g_outcome;
    g_outcome = RunOutcome::NotRun;
    return was;
}

NRefPtr runText(const char* text) {
    if (!scanner_attach_text(text)) {
        scanner_detach();
        return NRefPtr();
    }
    Context* tree = parseAttached();
    if (!tree) return NRefPtr();
    return runTree(tree);
}

NRefPtr runScript(const char* path) {
    const PreprocessorSettings& settings = preprocessorSettings();
    // The preprocessor's argument list, without an output file: the text
    // comes back in memory and nothing is written beside the script.
    std::vector<std::string> words;
    words.emplace_back("");
    for (const std::string& option : settings.options) words.push_back(option);
    words.push_back("-I" + settings.moduleDirectory);
    words.emplace_back(path);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::string text;
    if (cpp_main(static_cast<int>(words.size()), argv.data(), text) != 0) {
        // Ctrl-C while preprocessing ends this run as an interrupted one.
        if (interruptPending()) {
            clearInterrupt();
            noteRunInterrupted();
        }
        return NRefPtr();
    }
    Context* tree = nullptr;
    if (scanner_attach_named_text(text, path)) {
        tree = parseAttached();
    } else {
        scanner_detach();
    }
    if (!tree) return NRefPtr();
    return runTree(tree);
}
