// Talk mode: texts typed at the console, run at the global level one after
// the other, each result shown; a few dot commands are handled here.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "builtins/builtins.h"
#include "driver/driver.h"
#include "driver/talk_input.h"
#include "driver/text_shape.h"
#include "exec/exec.h"
#include "frontend/frontend.h"
#include "value/settings.h"
#include "value/value.h"

namespace {

void showResult(const NRefPtr& result) {
    if (NNum* m = asNum(result)) {
        std::printf("%s\n", matrixText(numberFormat(), *m).c_str());
    } else if (NString* s = asString(result)) {
        std::printf("%s\n", displayForm(*s).c_str());
    }
}

void clearConsole() {
    // The terminal's own clear sequence: there is no "cls" command here.
    std::fputs("\033[H\033[2J", stdout);
    std::fflush(stdout);
}

// Runs a typed text with its ";" added. A text ending in a line comment or
// a directive line gets a line feed first, or the ";" would be part of it;
// and whatever such a line left open ends with it, so the next text is read.
void runTyped(std::string text) {
    if (shapeOf(text, scanner_in_block_comment()).endsInLineComment) text += '\n';
    if (text.back() != ';') text += ';';
    showResult(runText(text.c_str()));
    scanner_end_line();
}

std::unique_ptr<TalkInput> openTalkInput() {
    if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) return openTerminalInput();
    return openPlainInput();
}

enum class Next { GoOn, Quit };

// A dot command, or any other text to run. Each command is compared whole.
Next handleText(TalkInput& input, const std::string& text) {
    if (text == ".quit") return Next::Quit;
    if (text == ".help") {
        std::printf("%s\n\nCommand:\n    .cls, .quit, .load, .help,\n\n", kBanner);
    } else if (text.rfind(".help ", 0) == 0) {
        showBuiltinHelp(std::string_view(text).substr(6));  // ".help NAME": that built-in's entry
    } else if (text == ".load") {
        std::string path;
        switch (input.readFileName(path)) {
            case TalkRead::End:
                return Next::Quit;
            case TalkRead::Abandoned:
                break;
            case TalkRead::Text:
                if (!path.empty()) runScript(path.c_str());
                break;
        }
    } else if (text == ".cls") {
        clearConsole();
    } else if (text == ".flist") {
        listFunctionKeys();
    } else if (!text.empty()) {
        runTyped(text);
    }
    return Next::GoOn;
}

}  // namespace

void talkMode() {
    std::unique_ptr<TalkInput> input = openTalkInput();
    std::string text;
    for (;;) {
        // A Ctrl-C that came while the last text finished was meant for it.
        clearInterrupt();
        takeRunInterrupted();
        const TalkRead got = input->readText(text);
        if (got == TalkRead::End) break;
        if (got == TalkRead::Text && handleText(*input, text) == Next::Quit) break;
        std::fflush(stdout);
    }
    std::fflush(stdout);
}
