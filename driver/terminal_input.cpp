// Talk mode on a terminal: lines are edited with libedit, kept in a history
// file, completed with Tab, and a text that leaves a bracket or a block
// comment open is continued on further lines before it runs.
//
// Keys are read by our own function, which waits through waitForInput():
// Ctrl-C ends the wait at once and the line being typed is abandoned,
// without libedit's signal handling (which would re-raise the signal).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <editline/readline.h>

#include "driver/completion.h"
#include "driver/history_file.h"
#include "driver/talk_input.h"
#include "driver/text_shape.h"
#include "frontend/frontend.h"
#include "platform/interrupt.h"

namespace {

// Word boundaries for names: every character that cannot be part of one.
// The dot is one too, so ".lo" completes as a command after the dot.
const char kNameBreaks[] = " \t\n\"\\'`@><=;|&{}()[]+-*/^%!,:?~.#";
// A file name is the whole line.
const char kFileNameBreaks[] = "";

bool g_readingFileName = false;
std::vector<std::string> g_candidates;
std::size_t g_nextCandidate = 0;

// libedit's key source. -1 reads as end of input; an interrupt tells the
// two apart afterwards.
int readKey(FILE*) {
    for (;;) {
        if (!waitForInput(STDIN_FILENO)) return -1;
        unsigned char c;
        const ssize_t n = read(STDIN_FILENO, &c, 1);
        if (n == 1) return c;
        if (n == 0 || errno != EINTR) return -1;
    }
}

char* nextCandidate(const char* text, int state) {
    if (state == 0) g_nextCandidate = 0;
    const std::size_t length = std::strlen(text);
    while (g_nextCandidate < g_candidates.size()) {
        const std::string& name = g_candidates[g_nextCandidate++];
        if (name.compare(0, length, text) == 0) return strdup(name.c_str());
    }
    return nullptr;
}

char** complete(const char* text, int start, int) {
    rl_attempted_completion_over = 1;  // no file names where none are wanted
    if (g_readingFileName) {
        char** matches = rl_completion_matches(text, rl_filename_completion_function);
        // No blank after a file name: it would become part of the name.
        rl_completion_append_character = '\0';
        // A lone match (the list holds it twice: as the common part and as
        // the match) that is a directory gets its slash.
        struct stat st;
        if (matches && matches[1] && !matches[2] && stat(matches[1], &st) == 0 && S_ISDIR(st.st_mode))
            rl_completion_append_character = '/';
        return matches;
    }
    // A command is compared whole: a blank after it would make it a text.
    const bool command = start == 1 && rl_line_buffer[0] == '.';
    rl_completion_append_character = command ? '\0' : ' ';
    g_candidates = command ? dotCommandNames() : completionNames();
    return rl_completion_matches(text, nextCandidate);
}

class TerminalInput : public TalkInput {
public:
    TerminalInput() : history_(historyFilePath()) {
        rl_getc_function = readKey;
        rl_catch_signals = 0;
        rl_attempted_completion_function = complete;
        rl_initialize();
        stifle_history(static_cast<int>(kMaxHistory));
        for (const std::string& entry : history_.entries()) add_history(entry.c_str());
    }

    TalkRead readText(std::string& text) override {
        TalkRead got = readLine(">", kNameBreaks, text);
        if (got != TalkRead::Text) return got;
        // A text with a bracket or a block comment still open goes on over
        // more lines, joined by line feeds, and runs once it is complete.
        std::string more;
        while (shapeOf(text, scanner_in_block_comment()).needsMoreLines) {
            got = readLine(".. ", kNameBreaks, more);
            if (got != TalkRead::Text) return got;
            if (more.empty()) return TalkRead::Abandoned;
            text += '\n';
            text += more;
        }
        return TalkRead::Text;
    }

    TalkRead readFileName(std::string& path) override {
        g_readingFileName = true;
        TalkRead got = readLine("File name: ", kFileNameBreaks, path);
        g_readingFileName = false;
        return got;
    }

private:
    TalkRead readLine(const char* prompt, const char* breaks, std::string& line) {
        std::fflush(stdout);
        rl_basic_word_break_characters = breaks;
        char* typed = readline(prompt);
        if (!typed) {
            // Either way the next output starts on a line of its own.
            std::fputc('\n', stdout);
            std::fflush(stdout);
            return interruptPending() ? TalkRead::Abandoned : TalkRead::End;
        }
        line = typed;
        std::free(typed);
        if (history_.add(line)) add_history(line.c_str());
        return TalkRead::Text;
    }

    HistoryFile history_;
};

}  // namespace

std::unique_ptr<TalkInput> openTerminalInput() { return std::make_unique<TerminalInput>(); }
