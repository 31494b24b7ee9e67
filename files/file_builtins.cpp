#include "files/files.h"
#include "value/raise.h"

namespace {
// The slot named by a file-identifier argument, or null.
NFile* slotOf(const NRefPtr& v) {
    NFileID* id = asFileID(v);
    return id ? fileSlot(id->fileNo) : nullptr;
}
}  // namespace

void bi_open(NContext&, int line, ArgList& args, NRefPtr& result) {
    NFile* file = slotOf(args[0]);
    NString* name = asString(args[1]);
    NString* mode = asString(args[2]);
    if (!file || !name || !mode) raiseError(line, "Bad argument in open()");
    // Before the first open no slot can be open, so the input statements only
    // need the readers from here on.
    installFileInputHooks();
    result = makeNum(file->open(name->text, mode->text) ? 1 : 0);
}

void bi_close(NContext&, int line, ArgList& args, NRefPtr& result) {
    NFile* file = slotOf(args[0]);
    if (!file) raiseError(line, "Bad argument in close()");
    result = makeNum(file->close());
}

void bi_rewind(NContext&, int line, ArgList& args, NRefPtr& result) {
    NFile* file = slotOf(args[0]);
    if (!file) raiseError(line, "Bad argument in rewind()");
    result = makeNum(file->rewind() ? 1 : 0);
}

void bi_eof(NContext&, int line, ArgList& args, NRefPtr& result) {
    NFile* file = slotOf(args[0]);
    if (!file) raiseError(line, "Bad argument in eof()");
    // A slot with no file has nothing left to read: report the end, so a
    // reading loop on it ends instead of spinning.
    result = makeNum(!file->isOpen() || std::feof(file->stream) ? 1 : 0);
}
