#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "builtins/system.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace {

NRefPtr call(BuiltinEntry entry, ArgList args, NContext& ctx) {
    NRefPtr result = makeNum(0);
    entry(ctx, 4, args, result);
    return result;
}

double number(const NRefPtr& v) { return asNum(v) ? asNum(v)->data[0].re : std::nan(""); }

TEST(SystemBuiltins, SystemReturnsTheCommandStatus) {
    NContext ctx;
    EXPECT_EQ(number(call(bi_system, {makeString("exit 0")}, ctx)), 0);
    EXPECT_EQ(number(call(bi_system, {makeString("exit 3")}, ctx)), 3);
    EXPECT_EQ(number(call(bi_system, {makeString("no_such_command_qn 2>/dev/null")}, ctx)), 127);
    EXPECT_EQ(number(call(bi_system, {makeString("kill -TERM $$")}, ctx)), 128 + 15);
    ArgList bad{makeNum(1)};
    NRefPtr result = makeNum(0);
    try {
        bi_system(ctx, 4, bad, result);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "error [4]: Bad argument in system()");
    }
}

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
}

TEST(SystemBuiltins, ExitMarksTheControlRecord) {
    NContext ctx;
    NRefPtr v = makeNum(3);
    call(bi_exit, {v}, ctx);
    EXPECT_EQ(ctx.state, CS_EXIT);
    EXPECT_EQ(ctx.line, 4);
    EXPECT_EQ(ctx.value.get(), v.get());
    NContext plain;
    call(bi_exit, {}, plain);
    EXPECT_EQ(plain.state, CS_EXIT);
    EXPECT_FALSE(plain.value);
}

TEST(SystemBuiltins, SleepDurations) {
    EXPECT_EQ(sleepDuration(100.9), 100u);
    EXPECT_EQ(sleepDuration(0.5), 0u);
    EXPECT_EQ(sleepDuration(-5), 0u);
    EXPECT_EQ(sleepDuration(std::nan("")), 0u);
    EXPECT_EQ(sleepDuration(-HUGE_VAL), 0u);
    EXPECT_EQ(sleepDuration(1e20), 4294967295u);
    EXPECT_EQ(sleepDuration(HUGE_VAL), 4294967295u);
    NContext ctx;
    ArgList complexArg{makeNum(1, 1)};
    NRefPtr result = makeNum(0);
    try {
        bi_sleep(ctx, 9, complexArg, result);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "error [9]: Cannot convert arg to real number");
    }
}

TEST(SystemBuiltins, TickAdvancesAcrossASleep) {
    NContext ctx;
    double before = number(call(bi_tick, {}, ctx));
    call(bi_sleep, {makeNum(30)}, ctx);
    double after = number(call(bi_tick, {}, ctx));
    // Unsigned 32-bit arithmetic, as a script would see across a wrap.
    std::uint32_t elapsed = static_cast<std::uint32_t>(after) - static_cast<std::uint32_t>(before);
    EXPECT_GE(elapsed, 30u);
    EXPECT_GE(before, 0);
    EXPECT_LE(after, 4294967295.0);
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
