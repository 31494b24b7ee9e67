// Talk mode: one line at a time from standard input, run at the global level,
// its result shown. With a terminal, lines are read with editing and history;
// otherwise exactly with fgets into a 512-byte buffer.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <editline/readline.h>

#include "builtins/builtins.h"
#include "driver/driver.h"
#include "exec/exec.h"
#include "value/settings.h"
#include "value/value.h"

namespace {

constexpr int kLineBuffer = 512;

// A line source: returns false at end of input.
class LineReader {
public:
    LineReader() : terminal_(isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {}

    // Ctrl-C while waiting here ends the program; while a line runs it
    // interrupts that line.
    bool read(const char* prompt, std::string& line) {
        disarmInterrupts();
        bool got = readLine(prompt, line);
        clearInterrupt();
        takeRunInterrupted();
        armInterrupts();
        return got;
    }

private:
    bool readLine(const char* prompt, std::string& line) {
        if (terminal_) return readEdited(prompt, line);
        std::fputs(prompt, stdout);
        std::fflush(stdout);
        char buffer[kLineBuffer];
        clearerr(stdin);  // a read cut short by an interrupted run is not the end
        if (!std::fgets(buffer, sizeof buffer, stdin)) return false;
        line = buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            // Console input is text: a CR LF line end counts as LF.
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        return true;
    }

    bool readEdited(const char* prompt, std::string& line) {
        char* text = readline(prompt);
        if (!text) return false;
        line = text;
        std::free(text);
        if (!line.empty()) add_history(line.c_str());
        return true;
    }

    bool terminal_;
};

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

}  // namespace

void talkMode() {
    LineReader reader;
    std::string line;
    while (reader.read(">", line)) {
        if (line == ".quit") break;
        if (line == ".help") {
            std::printf("%s\n\nCommand:\n    .cls, .quit, .load, .help,\n\n", kBanner);
        } else if (line.rfind(".help ", 0) == 0) {
            showBuiltinHelp(std::string_view(line).substr(6));  // ".help NAME": that built-in's entry
        } else if (line == ".load") {
            std::string path;
            if (!reader.read("File name: ", path)) break;
            if (!path.empty()) runScript(path.c_str());
        } else if (line == ".cls") {
            clearConsole();
        } else if (line == ".flist") {
            listFunctionKeys();
        } else if (!line.empty()) {
            if (line.back() != ';') line += ';';
            showResult(runText(line.c_str()));
        }
        std::fflush(stdout);
    }
}
