#include <cstdio>

#include "driver/driver.h"

const char kBanner[] = "Quarn - Quarn Array Notation - v0.48b (Linux)";

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] != '-') {
            // A second script name is an error, not an argument for the script.
            if (!line.scriptName.empty()) {
                line.usageError = true;
                return line;
            }
            line.scriptName = arg;
            continue;
        }
        // Options are judged by their second character only.
        const char letter = arg.size() > 1 ? arg[1] : '\0';
        if (letter == 'D' || letter == 'I' || letter == 'U') {
            line.preprocessorOptions.push_back(arg);
        } else if (letter == 't') {
            line.talk = true;
        } else {
            line.usageError = true;
            return line;
        }
    }
    if (line.scriptName.empty()) line.talk = true;
    return line;
}

void printUsage(const char* programName) {
    std::printf(
        "%s\nUsage: %s [<options> script]\n\n<options>\n"
        "    -t            : enter talk mode when script completed\n"
        "    -Dxxx         : define symbol for pre-processor\n"
        "    -Uxxx         : undefine symbol for pre-processor\n"
        "    -Ixxx         : set include search path\n",
        kBanner, programName);
}
