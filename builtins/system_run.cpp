#include "builtins/system.h"
#include "value/raise.h"

void bi_eval(NContext&, int line, ArgList& args, NRefPtr& result) {
    NString* s = asString(args[0]);
    if (!s) raiseError(line, "Bad argument in eval()");
    std::string text = s->text + ";";
    // Errors inside the text are reported by the text runner itself; the
    // call then yields 0.
    NRefPtr value = runText(text.c_str());
    if (value) result = std::move(value);
}

void bi_exit(NContext& ctx, int line, ArgList& args, NRefPtr&) {
    ctx.setWithValue(CS_EXIT, line, args.empty() ? NRefPtr() : args[0]);
}
