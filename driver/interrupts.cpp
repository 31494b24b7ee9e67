// Ctrl-C interrupts whatever the program is doing: a running script or
// talk-mode text ends with "Interrupted", a wait for input ends at once.
#include <signal.h>

#include "driver/driver.h"
#include "platform/interrupt.h"

namespace {

void onInterrupt(int) { requestInterrupt(); }

}  // namespace

void armInterrupts() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a read waiting for input returns
    sigaction(SIGINT, &action, nullptr);
}
