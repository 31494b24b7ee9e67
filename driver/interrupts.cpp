// Ctrl-C while a script or a talk-mode line runs interrupts that run; at the
// talk-mode prompt it ends the program, as it always has.
#include <signal.h>

#include "driver/driver.h"
#include "exec/exec.h"

namespace {

void onInterrupt(int) { requestInterrupt(); }

void setHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a console read waiting for input returns
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

void armInterrupts() { setHandler(onInterrupt); }
void disarmInterrupts() { setHandler(SIG_DFL); }
