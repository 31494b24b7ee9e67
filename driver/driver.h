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
// mode and shut-down. Returns the process status.
int runInterpreter(const CommandLine& line);

// The interactive loop; returns at ".quit" or end of input.
void talkMode();

// Ctrl-C: armed, it interrupts the running program; disarmed, it ends the process.
void armInterrupts();
void disarmInterrupts();
