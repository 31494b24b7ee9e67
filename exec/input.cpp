// The input statements: each item gets one datum, read from an open file or
// typed on the console and evaluated as a program text.
#include <cstdio>
#include <cstring>
#include <string>

#include "exec/eval_parts.h"
#include "exec/interrupt.h"
#include "exec/lvalue.h"
#include "platform/interruptible_read.h"

namespace {

FileInputHooks g_hooks;

// One console line (at most 254 bytes, the line feed included when it fits)
// run as a text; null at end of input, when the text failed, or when Ctrl-C
// ended the wait.
NRefPtr consoleDatum() {
    std::string text;
    LineRead got = readLineInterruptibly(stdin, text, 254);
    if (got == LineRead::End || got == LineRead::Interrupted) return NRefPtr();
    text.resize(std::strlen(text.c_str()));  // the text ends at a NUL byte
    text += ';';
    NRefPtr datum = runText(text.c_str());
    // A line comment or directive at the end of the line ends with it.
    scanner_end_line();
    return datum;
}

}  // namespace

void setFileInputHooks(const FileInputHooks& hooks) { g_hooks = hooks; }

NRefPtr evalInput(NContext& ctx, Node* node) {
    int line = node->line;
    bool lineMode = node->kind == OP_LINPUT;
    Node* item = node->child[0];
    int fileNo = -1;
    bool fromFile = false;
    if (item && item->kind == OP_FILEID) {
        double re = item->re;
        fileNo = re > -1e9 && re < 1e9 ? static_cast<int>(re) : -1;
        fromFile = g_hooks.isOpen && g_hooks.read && g_hooks.isOpen(fileNo);
        item = nextOf(item);
    }
    std::int32_t count = 0;
    for (; item; item = nextOf(item)) {
        NRefPtr datum = fromFile ? g_hooks.read(line, fileNo, lineMode) : consoleDatum();
        if (interruptPending()) raiseInterrupted(line);
        if (asNum(datum) || asString(datum)) {
            assignTo(ctx, item, datum);
            ++count;
        }
    }
    return makeNum(count);
}
