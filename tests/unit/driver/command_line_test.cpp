// The command line as the driver reads it.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace {

CommandLine parse(std::initializer_list<const char*> words) {
    std::vector<std::string> storage(words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& w : storage) argv.push_back(w.data());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, PreprocessorOptionsKeepTheirOrderAndText) {
    CommandLine line = parse({"quarn", "-Ifoo", "-DX", "-D", "-Ubar=1", "s.qn", "-Dlate"});
    EXPECT_FALSE(line.usageError);
    EXPECT_EQ(line.preprocessorOptions, (std::vector<std::string>{"-Ifoo", "-DX", "-D", "-Ubar=1", "-Dlate"}));
    EXPECT_EQ(line.scriptName, "s.qn");
    EXPECT_FALSE(line.talk);
}

TEST(CommandLine, TalkFlagFromOptionOrMissingScript) {
    EXPECT_TRUE(parse({"quarn", "-tanything", "s.qn"}).talk);
    CommandLine none = parse({"quarn"});
    EXPECT_TRUE(none.talk);
    EXPECT_TRUE(none.scriptName.empty());
}

TEST(CommandLine, UsageErrors) {
    EXPECT_TRUE(parse({"quarn", "a.qn", "b.qn"}).usageError);
    EXPECT_TRUE(parse({"quarn", "-x", "a.qn"}).usageError);
    EXPECT_TRUE(parse({"quarn", "-"}).usageError);
    EXPECT_TRUE(parse({"quarn", "-d"}).usageError) << "option letters are case-sensitive";
}

}  // namespace
