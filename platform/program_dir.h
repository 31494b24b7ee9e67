// Where the running executable lives.
#pragma once

#include <string>

// The directory of the running executable with its trailing '/', or empty
// when it cannot be determined.
std::string programDirectory();
