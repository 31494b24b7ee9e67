#include "builtins/system.h"
#include "platform/shell.h"
#include "value/raise.h"

void bi_system(NContext&, int line, ArgList& args, NRefPtr& result) {
    if (args.empty()) {
        result = makeNum(runInteractiveShell());
        return;
    }
    NString* cmd = asString(args[0]);
    if (!cmd) raiseError(line, "Bad argument in system()");
    result = makeNum(runShellCommand(cmd->text));
}
