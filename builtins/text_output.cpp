#include <cstdio>

#include "builtins/format_language.h"
#include "builtins/text.h"
#include "files/files.h"
#include "value/raise.h"
#include "value/settings.h"

namespace {
void writeAll(std::FILE* to, const std::string& text) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), to);
}
}  // namespace

void bi_print(NContext&, int line, ArgList& args, NRefPtr&) {
    std::FILE* to = stdout;
    std::size_t first = 0;
    if (!args.empty()) {
        if (NFileID* id = asFileID(args[0])) {
            to = openFileStream(id->fileNo);
            // Output for a file that is not open would be lost without a word.
            if (!to) raiseError(line, "Bad argument in print()");
            first = 1;
        }
    }
    std::string text;
    for (std::size_t i = first; i < args.size(); ++i) {
        if (NNum* m = asNum(args[i]))
            text += matrixText(numberFormat(), *m);
        else if (NString* s = asString(args[i]))
            text += s->text;
    }
    text += '\n';
    writeAll(to, text);
}

void bi_printf(NContext&, int line, ArgList& args, NRefPtr&) {
    std::FILE* to = stdout;
    std::size_t format = 0;
    if (!args.empty()) {
        if (NFileID* id = asFileID(args[0])) {
            to = openFileStream(id->fileNo);
            if (!to) raiseError(line, "Bad argument in printf()");
            format = 1;
        }
    }
    NString* fmt = format < args.size() ? asString(args[format]) : nullptr;
    if (!fmt) raiseError(line, "Bad argument in printf()");
    writeAll(to, formatWithDirectives(fmt->text, args, format + 1));
}

void bi_sprintf(NContext&, int line, ArgList& args, NRefPtr& result) {
    NString* fmt = args.empty() ? nullptr : asString(args[0]);
    // sprintf shares printf's format check and its message.
    if (!fmt) raiseError(line, "Bad argument in printf()");
    result = makeString(formatWithDirectives(fmt->text, args, 1));
}
