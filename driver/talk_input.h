// Where talk mode gets its lines: a terminal (line editing, history, Tab
// completion, several lines for one text) or any other standard input
// (fgets-style pieces of at most 511 bytes, each handled on its own).
#pragma once

#include <memory>
#include <string>

enum class TalkRead {
    Text,       // a line, or on a terminal the lines of one complete text
    Abandoned,  // Ctrl-C, or an empty continuation line: nothing to run
    End,        // end of input
};

class TalkInput {
public:
    virtual ~TalkInput() = default;
    // Shows the prompt ">" and reads the next text, without its line feed.
    virtual TalkRead readText(std::string& text) = 0;
    // Shows "File name: " and reads one line (for ".load").
    virtual TalkRead readFileName(std::string& path) = 0;
};

// Talk mode takes the terminal reader when standard input and output are
// both terminals, else the plain one.
std::unique_ptr<TalkInput> openTerminalInput();
std::unique_ptr<TalkInput> openPlainInput();
