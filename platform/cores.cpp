#include "platform/cores.h"

#include <sched.h>

#include <thread>

int usableCores() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        int count = CPU_COUNT(&set);
        if (count > 0) return count;
    }
    unsigned all = std::thread::hardware_concurrency();
    return all > 0 ? static_cast<int>(all) : 1;
}
