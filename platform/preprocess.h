// The preprocessor that script files pass through before they are parsed: a
// C preprocessor that knows the script language's strings, comments and
// transpose apostrophe. It runs in the interpreter's process on the text in
// memory and writes nothing beside the script.
//
// What it does: #include "..." (looked for beside the including file, then
// in the -I folders in order) and #include <...> (the -I folders only);
// #define of object-like and function-like macros with # and ##, variadic
// macros with __VA_ARGS__; #undef; #if, #ifdef, #ifndef, #elif, #else and
// #endif with integer expressions and defined; #line; #error. #pragma and
// unknown directives are passed over, as is a first line starting "#!".
// The text it makes marks every change of file or line with #line N "name"
// so that the scanner names the script's own lines.
//
// Every fault is reported once, as "error [NAME:LINE]: message", and the
// preprocessing fails. Include depth, file and line sizes and the work of
// macro expansion are capped; Ctrl-C stops it.
#pragma once

#include <functional>
#include <string>
#include <vector>

// argv: "", the -D/-U/-I options as typed, "-I" + module directory,
// "-o" + output path, and the script path last. Writes the preprocessed text
// to the output path. Returns 0 on success; messages go to standard error.
int cpp_main(int argc, char** argv);
// The same arguments without "-o": the text is handed back in `text` and
// nothing is written.
int cpp_main(int argc, char** argv, std::string& text);

// What reading one file gave.
struct SourceFile {
    enum Status { Read, Missing, Directory, Failed } status = Missing;
    std::string bytes;
    std::string error;  // Missing or Failed: why, for the message
    int line = 0;       // Failed because of the text itself: the line at fault
};
// Reads a file whole (line ends CR LF become LF), refusing a NUL byte, a
// line or a file over the size caps, and stopping when Ctrl-C is pressed.
SourceFile readSourceFile(const std::string& path);

// One preprocessing, with the file system and standard error replaceable
// (for tests and the fuzz target).
struct PreprocessJob {
    std::string script;
    std::vector<std::string> options;  // -D, -U and -I as typed, in order
    std::function<SourceFile(const std::string& path)> read;     // readSourceFile when empty
    std::function<void(const std::string& message)> report;      // standard error when empty
};
bool preprocess(const PreprocessJob& job, std::string& text);
