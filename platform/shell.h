// Running commands and the interactive shell.
#pragma once

#include <string>

// The interactive shell: $SHELL when set and not empty, else /bin/sh.
std::string interactiveShellPath();

// Runs command through /bin/sh -c and waits for it. Returns the command's exit
// status, 128 + the signal number when a signal ended it, or -1 when no shell
// could be started. A command ended by SIGINT requests an interrupt.
int runShellCommand(const std::string& command);

// Starts the interactive shell on the program's own terminal and waits until
// the user leaves it. Returns its status as runShellCommand does.
int runInteractiveShell();
