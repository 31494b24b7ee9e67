// The words that Tab completes in talk mode.
#pragma once

#include <string>
#include <vector>

// Function names (built-in and the user's, without their "$n" part), global
// variables and keywords, sorted and without repeats.
std::vector<std::string> completionNames();

// The talk-mode commands, without their leading dot.
const std::vector<std::string>& dotCommandNames();
