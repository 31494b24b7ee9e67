#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "builtins/system.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace {

TEST(SystemBuiltins, InteractiveShellComesFromTheEnvironment) {
    const char* saved = std::getenv("SHELL");
    std::string keep = saved ? saved : "";
    setenv("SHELL", "/bin/false", 1);
    EXPECT_EQ(interactiveShellPath(), "/bin/false");
    EXPECT_EQ(runInteractiveShell(), 1);
    setenv("SHELL", "", 1);
    EXPECT_EQ(interactiveShellPath(), "/bin/sh");
    setenv("SHELL", "/no/such/shell", 1);
    EXPECT_EQ(runInteractiveShell(), 127);
    if (saved)
        setenv("SHELL", keep.c_str(), 1);
    else
        unsetenv("SHELL");
    EXPECT_EQ(runShellCommand("kill -TERM $$"), 128 + 15);
}

TEST(SystemBuiltins, SleepDurations) {
    EXPECT_EQ(sleepDuration(100.9), 100u);
    EXPECT_EQ(sleepDuration(-HUGE_VAL), 0u);
    EXPECT_EQ(sleepDuration(1e20), 4294967295u);
    EXPECT_EQ(sleepDuration(HUGE_VAL), 4294967295u);
}

TEST(SystemBuiltins, SquareWaveOfTheBeep) {
    short samples[8];
    // 1000 Hz at 4000 samples/s: two samples high, two low.
    fillSquareWave(samples, 8, 1000, 4000, 100);
    const short want[8] = {100, 100, -100, -100, 100, 100, -100, -100};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(samples[i], want[i]) << i;
    fillSquareWave(samples, 8, 0, 4000, 100);
    for (short s : samples) EXPECT_EQ(s, 0);
}

}  // namespace
