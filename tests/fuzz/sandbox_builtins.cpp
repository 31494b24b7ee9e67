#include "sandbox_builtins.h"

#include <sys/stat.h>

#include "exec/exec.h"
#include "files/files.h"
#include "value/raise.h"

namespace {

void refuse(NContext&, int line, ArgList&, NRefPtr&) {
    raiseError(line, "Not available in the fuzz run");
}

// Reading is harmless as long as it cannot block: only regular files (or
// names that do not exist, which open() simply fails on) below the working
// folder may be opened, and only for reading, so fuzz input can neither
// create nor truncate files nor wait on a terminal, a pipe or a kernel file.
void readOnlyOpen(NContext& ctx, int line, ArgList& args, NRefPtr& result) {
    NString* name = asString(args[1]);
    NString* mode = asString(args[2]);
    if (name && mode) {
        if (mode->text.empty() || mode->text[0] != 'r' || mode->text.find('+') != std::string::npos)
            raiseError(line, "Not available in the fuzz run");
        const std::string& path = name->text;
        if (path.empty() || path[0] == '/' || path.find("..") != std::string::npos)
            raiseError(line, "Not available in the fuzz run");
        struct stat st;
        if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            raiseError(line, "Not available in the fuzz run");
    }
    bi_open(ctx, line, args, result);
}

}  // namespace

void installSandboxBuiltins() {
    for (const char* key : {"system$0", "system$1", "sleep$1", "beep$0", "getch$0", "getche$0", "kbhit$0"})
        registerNative(key, refuse);
    registerNative("open$3", readOnlyOpen);
}
