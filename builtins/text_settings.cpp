#include "builtins/text.h"
#include "value/ops.h"
#include "value/raise.h"
#include "value/settings.h"

void bi_format(NContext&, int line, ArgList& args, NRefPtr& result) {
    NString* s = asString(args[0]);
    if (!s) raiseError(line, "Bad argument in format()");
    std::string previous = numberFormat();
    // Every number is printed through this format: one that does not take
    // exactly one double would read garbage or overrun, so it is refused.
    if (!setNumberFormat(s->text)) raiseError(line, "Bad argument in format()");
    result = makeString(std::move(previous));
}

void bi_strict(NContext&, int line, ArgList& args, NRefPtr& result) {
    NNum* x = asNum(args[0]);
    if (!x || x->cols != 1 || x->rows != 1) raiseError(line, "Bad argument in strict()");
    bool previous = strictMode();
    setStrictMode(truthValue(x->data[0]));
    result = makeNum(previous ? 1 : 0);
}

void bi_error(NContext&, int line, ArgList& args, NRefPtr&) {
    NString* s = asString(args[0]);
    if (!s) raiseError(line, "Bad argument in error()");
    // The text is the message itself, never a format.
    raiseError(line, "%s", s->text.c_str());
}
