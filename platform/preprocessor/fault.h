// How the parts of the preprocessor report a fault in the text they read,
// and the caps that keep a hostile or careless text bounded in time and
// memory.
#pragma once

#include <cstddef>
#include <string>

namespace pp {

// A fault in the text being preprocessed. The part that knows which file is
// being read adds its name; line 0 stands for the line being read.
struct Fault {
    std::string message;
    int line = 0;
};

// A finished message ("error [NAME:LINE]: ..."), passed up unchanged
// through the files that include the one at fault.
struct Failure {
    std::string message;
};

constexpr int kMaxIncludeDepth = 200;
constexpr int kMaxArgumentDepth = 200;        // macro uses nested inside arguments
constexpr int kMaxExpressionDepth = 256;      // parentheses and operators nested in #if
constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxDirectiveBytes = std::size_t{1} << 20;  // a directive is read as tokens
constexpr std::size_t kMaxDefinedTokens = std::size_t{1} << 21;    // in all macro replacements at once
constexpr int kMaxParams = 1024;
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;   // all files read by one run
constexpr std::size_t kFileOpenCost = 4096;                       // counted against that per file opened
constexpr std::size_t kMaxOutputBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxUseTokens = std::size_t{1} << 19;       // made by one macro use in the text
constexpr std::size_t kMaxRunTokens = std::size_t{1} << 26;       // made by all macro uses of a run

}  // namespace pp
