#include <cmath>

#include "builtins/system.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "value/convert.h"

std::uint32_t sleepDuration(double ms) {
    if (!(ms >= 1.0)) return 0;  // NaN and anything below one millisecond
    // The longest wait a 32-bit millisecond count can express.
    if (ms >= 4294967295.0) return 4294967295u;
    return static_cast<std::uint32_t>(std::trunc(ms));
}

void bi_sleep(NContext&, int line, ArgList& args, NRefPtr&) { sleepMilliseconds(sleepDuration(toReal(line, args[0]))); }

void bi_tick(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(static_cast<double>(millisecondTick())); }

void bi_beep(NContext&, int, ArgList&, NRefPtr&) { beepTone(800, 200); }
