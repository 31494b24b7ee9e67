// The preprocessor's walk through a script and the files it includes:
// directives and conditional groups (walker.cpp), text lines with their
// macro uses and the line markers that keep the scanner's line numbers those
// of the sources (text_lines.cpp).
#pragma once

#include <string>
#include <vector>

#include "platform/preprocess.h"
#include "platform/preprocessor/macros.h"

namespace pp {

class Walker {
public:
    // includeDirs in search order.
    Walker(const PreprocessJob& job, std::vector<std::string> includeDirs, std::string& out)
        : job_(job), includeDirs_(std::move(includeDirs)), out_(out) {}
    // A -D or -U option as typed. Both throw Failure with the finished message.
    void applyOption(const std::string& option);
    void run(const std::string& script);

private:
    struct Conditional {
        int line;
        std::string directive;  // "if", "ifdef" or "ifndef", for the message
        bool parentActive;
        bool active;
        bool taken;    // a group of this chain was (or, when the parent is skipped, counts as) chosen
        bool sawElse;
    };
    struct File {
        std::string path;  // as opened: "..." includes are looked for in its folder
        std::string name;  // for messages and markers; #line may change it
        std::string text;
        std::size_t pos = 0;
        int line = 1;       // the line at pos
        int faultLine = 1;  // the line a fault in the current directive or text line is reported at
        int depth = 0;
        // The first string that ran across lines: where a quote left open
        // by mistake (a "\" typed for "\\") most likely is.
        int firstLongString = 0;
        std::vector<Conditional> conditionals;
        bool active() const { return conditionals.empty() || conditionals.back().active; }
    };

    void processFile(File& file);
    void walk(File& file);
    void directive(File& file, std::size_t hash);
    void conditional(File& file, const std::string& name, Lexer& line);
    void include(File& file, Lexer& line, const std::string& lineText);
    void lineDirective(File& file, std::vector<Token> tokens);
    bool evaluate(File& file, Lexer& line);
    std::vector<Token> expandRest(File& file, Lexer& line);
    void copyTextLine(File& file);
    void skipTextLine(File& file);
    // Checks a string met in the text; counts its lines.
    void passString(File& file, const Span& string, int line);
    bool expandInText(File& file, Macro& macro, std::size_t nameStart, std::size_t nameEnd, int& line);
    void sync(const File& file, int line);
    SourceFile read(const std::string& path);
    // Counts bytes against the cap on all the text one run reads.
    void chargeInput(std::size_t bytes);
    void pollInterrupt();

    const PreprocessJob& job_;
    std::vector<std::string> includeDirs_;
    std::string& out_;
    MacroTable macros_;
    Budget budget_;
    Where where_;
    std::size_t inputBytes_ = 0;
    unsigned linesSincePoll_ = 0;
    // What the scanner will believe when it reaches the end of out_.
    std::string outName_;
    int outLine_ = 0;
    bool outStarted_ = false;
};

}  // namespace pp
