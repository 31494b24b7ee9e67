// The front door of the driver: the command line, start-up and talk mode.
#pragma once

#include <string>
#include <vector>

// The banner line shown by the usage text and by ".help".
extern const char kBanner[];

struct CommandLine {
    std::vector<std::string> preprocessorOptions;  // -D, -U, -I as typed, in order
    std::string scriptName;                        // empty when none was given
    bool talk = false;
    bool usageError = false;
};

// Reads arguments 1 .. argc-1. Without a script the talk flag is always set.
CommandLine parseCommandLine(int argc, char** argv);

// Prints the usage text with the program's own name.
void printUsage(const char* programName);

// The whole program after the command line: start-up, script, main, talk
// mode and shut-down. Returns the process status: when talk mode ran, 0;
// after a script alone, 130 when Ctrl-C ended it, 1 when it could not be
// preprocessed or parsed or when it or its main stopped at an error that
// nothing caught, else 0.
int runInterpreter(const CommandLine& line);

// The interactive loop; returns at ".quit" or end of input.
void talkMode();

// Makes Ctrl-C interrupt the running program instead of ending the process.
void armInterrupts();

// Makes every write to standard error flush standard output first.
void orderErrorsAfterOutput();
