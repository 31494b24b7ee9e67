// The input statements: each item gets one datum, read from an open file or
// typed on the console and evaluated as a program text.
#include <cstdio>
#include <string>

#include "exec/eval_parts.h"
#include "exec/lvalue.h"

namespace {

FileInputHooks g_hooks;

// One console line (at most 254 bytes) run as a text; null at end of input
// or when the text failed.
NRefPtr consoleDatum() {
    char buf[256];
    if (!std::fgets(buf, 255, stdin)) return NRefPtr();
    std::string text(buf);
    text += ';';
    return runText(text.c_str());
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
        if (asNum(datum) || asString(datum)) {
            assignTo(ctx, item, datum);
            ++count;
        }
    }
    return makeNum(count);
}
