// The program's entry: the interpreter runs on a thread with a large stack,
// so that deeply nested scripts meet the interpreter's own depth limits long
// before the native stack runs out.
#include <pthread.h>

#include <cstdio>
#include <cstdlib>

#include "driver/driver.h"

namespace {

constexpr std::size_t kInterpreterStack = std::size_t{512} << 20;

struct Launch {
    int argc;
    char** argv;
    int status;
};

void* interpreterThread(void* arg) {
    Launch* launch = static_cast<Launch*>(arg);
    CommandLine line = parseCommandLine(launch->argc, launch->argv);
    if (line.usageError) {
        printUsage(launch->argv[0]);
        launch->status = 1;
        return nullptr;
    }
    launch->status = runInterpreter(line);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    orderErrorsAfterOutput();
    Launch launch{argc, argv, 0};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kInterpreterStack);
    pthread_t thread;
    if (pthread_create(&thread, &attr, interpreterThread, &launch) != 0) {
        interpreterThread(&launch);  // no large stack to be had: run here
    } else {
        pthread_join(thread, nullptr);
    }
    pthread_attr_destroy(&attr);
    std::fflush(stdout);
    return launch.status;
}
