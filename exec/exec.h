// The front door of the execution engine: the control record, the evaluator,
// statement lists, the scope stack, the function table and the run entry
// points shared by scripts, talk-mode lines, eval texts and console input.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "platform/interrupt.h"
#include "frontend/node.h"
#include "value/value.h"

// Control states of a run.
enum ControlState : std::int32_t { CS_NONE = 0, CS_BREAK = 1, CS_CONTINUE = 2, CS_RETURN = 3, CS_EXIT = 4 };

// The control record of one top-level run.
class NContext {
public:
    NRefPtr value;
    std::int32_t state = CS_NONE;
    std::int32_t line = 0;
    std::uint32_t levels = 0;

    virtual ~NContext();
    void setJump(std::int32_t s, std::int32_t l, std::uint32_t lv) {
        state = s;
        line = l;
        levels = lv;
        value.reset();
    }
    void setWithValue(std::int32_t s, std::int32_t l, NRefPtr v) {
        state = s;
        line = l;
        value = std::move(v);
        levels = 0;
    }
    NRefPtr takeValue() {
        NRefPtr v = std::move(value);
        state = CS_NONE;
        line = 0;
        levels = 0;
        return v;
    }
};

// Evaluation.
NRefPtr evaluate(NContext& ctx, Node* node);
// evaluate() of an OP_CALL node.
NRefPtr evaluateCall(NContext& ctx, Node* node);
NRefPtr runList(NContext& ctx, Context* list);

// The scope stack (the global frame is its bottom entry).
void scopeOpenFunctionFrame();
void scopeOpenBlock();
void scopeClose();
std::size_t scopeDepth();
void scopeCutTo(std::size_t depth);
void scopeClearAll();
// The names declared in the global frame (for completion in talk mode).
std::vector<std::string> globalVariableNames();

// Built-in entries: (control record, call line, arguments, result slot). The
// slot starts as the 1x1 number 0.
using ArgList = std::vector<NRefPtr>;
using BuiltinEntry = void (*)(NContext& ctx, int line, ArgList& args, NRefPtr& result);

// The function table.
void registerNative(const std::string& key, BuiltinEntry entry);
// Moves the definitions of a successful parse into the table (same key replaces).
void commitPending(PendingTable& pending);
int mainProbe();                      // 1: main$1, 0: main$0, -1: none
void listFunctionKeys();              // ".flist": every key, in byte order
std::vector<std::string> functionKeys();
void clearFunctions();

// Runs. Both return the run's result, or null after a failure (already reported).
// The text runner parses without preprocessing, at line 1 with no source name.
NRefPtr runText(const char* text);
NRefPtr runScript(const char* path);

// Interruption (Ctrl-C): the running program stops at its next evaluation
// step with the run-time error "Interrupted". The error is not caught by the
// script's try statements and ends every nested run (eval, console input)
// up to the outermost one, which reports it. requestInterrupt() (from
// platform/interrupt.h) is safe from a signal handler.
class InterruptedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// True once when the runs since the last call were interrupted.
bool takeRunInterrupted();

// How the last outermost run ended, for the process's exit status. Taking it
// sets it back to NotRun, which it stays while no text runs (one that could
// not be preprocessed or parsed never does).
enum class RunOutcome { NotRun, Completed, Failed, Interrupted };
RunOutcome takeRunOutcome();

// Set once by the driver before any script runs.
struct PreprocessorSettings {
    std::vector<std::string> options;  // -D, -U, -I as typed, in order
    std::string moduleDirectory;       // with its trailing separator, or empty
};
PreprocessorSettings& preprocessorSettings();

// The input statements read from an open file through these, set by the
// file subsystem; without them every file number is "not found".
struct FileInputHooks {
    bool (*isOpen)(int fileNo) = nullptr;
    // Reads one datum for input (lineMode false) or linput (true); null for none.
    NRefPtr (*read)(int line, int fileNo, bool lineMode) = nullptr;
};
void setFileInputHooks(const FileInputHooks& hooks);
