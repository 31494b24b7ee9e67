// The run entry points: a script file (preprocessed first) or a program text.
#include <cstdio>
#include <string>
#include <vector>

#include "exec/exec.h"
#include "exec/functions.h"
#include "exec/interrupt.h"
#include "exec/prepare.h"
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

// Runs a parsed tree and deletes it; errors are reported here.
NRefPtr runTree(Context* tree) {
    std::size_t depth = scopeDepth();
    NRefPtr result;
    struct Nesting {
        Nesting() { ++g_runNesting; }
        ~Nesting() { --g_runNesting; }
    } nesting;
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
    } catch (const InterruptedError& e) {
        if (g_runNesting > 1) {
            scopeCutTo(depth);
            delete tree;
            throw;
        }
        std::fprintf(stderr, "%s\n", e.what());
        noteRunInterrupted();
        result.reset();
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        result.reset();
    }
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
    std::string outPath = std::string(path) + ".i";
    std::vector<std::string> words;
    words.emplace_back("");
    for (const std::string& option : settings.options) words.push_back(option);
    words.push_back("-I" + settings.moduleDirectory);
    words.push_back("-o" + outPath);
    words.emplace_back(path);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int rc = cpp_main(static_cast<int>(words.size()), argv.data());
    if (rc != 0) {
        std::remove(outPath.c_str());
        return NRefPtr();
    }
    Context* tree = nullptr;
    if (scanner_attach_file(outPath.c_str())) {
        tree = parseAttached();
    } else {
        std::string message = "Cannot open input file: " + outPath + "\n";
        print_frontend_error(message.c_str());
        scanner_detach();
    }
    std::remove(outPath.c_str());
    if (!tree) return NRefPtr();
    return runTree(tree);
}
