// The program's side of the graphics module: a stand-in entry for every
// graphics key, which loads the module on first use and calls the real entry.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>

#include "exec/exec.h"
#include "graphics/graphics.h"
#include "graphics/graphics_table.h"
#include "platform/program_dir.h"
#include "value/raise.h"

namespace {

#define QUARN_GRAPHICS_KEY(key, entry) key,
constexpr const char* kKeys[] = {QUARN_GRAPHICS_TABLE(QUARN_GRAPHICS_KEY)};
#undef QUARN_GRAPHICS_KEY
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

struct LoadedModule {
    const GraphicsModuleTable* table = nullptr;
    std::string failure;  // why it could not be loaded, when table is null
};

LoadedModule loadModule() {
    LoadedModule loaded;
    const std::string dir = programDirectory();
    std::string reasons;
    auto note = [&](const std::string& reason) {
        if (!reasons.empty()) reasons += "; ";
        reasons += reason;
    };
    for (const char* place : {"quarn-graphics.so", "../lib/quarn/quarn-graphics.so"}) {
        const std::string path = dir + place;
        if (access(path.c_str(), F_OK) != 0) continue;
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            note(why ? why : path + ": cannot be loaded");
            continue;
        }
        using TableFunction = const GraphicsModuleTable* (*)();
        auto tableOf = reinterpret_cast<TableFunction>(dlsym(handle, "quarnGraphicsModuleTable"));
        const GraphicsModuleTable* table = tableOf ? tableOf() : nullptr;
        if (!table || table->count != static_cast<int>(kKeyCount)) {
            note(path + ": not a graphics module of this version");
            continue;
        }
        loaded.table = table;
        return loaded;
    }
    if (reasons.empty())
        reasons = "the graphics module quarn-graphics.so is neither beside the program nor in ../lib/quarn from it";
    loaded.failure = reasons;
    return loaded;
}

// Loaded once, by the interpreter thread's first graphics call.
const LoadedModule& graphicsModule() {
    static const LoadedModule loaded = loadModule();
    return loaded;
}

void callGraphicsEntry(std::size_t index, NContext& ctx, int line, ArgList& args, NRefPtr& result) {
    const LoadedModule& module = graphicsModule();
    if (module.table) {
        module.table->entries[index](ctx, line, args, result);
        return;
    }
    // Without the module there is no window: screen() fails as it does when
    // the window cannot be opened, and drawing is a run-time error.
    const std::string key = kKeys[index];
    if (key == "screen$0") return;
    if (key.rfind("screen$", 0) == 0) {
        std::fprintf(stderr, "screen(): cannot open the graphics window: %s\n", module.failure.c_str());
        return;
    }
    raiseError(line, "Graphics are not available: %s", module.failure.c_str());
}

template <std::size_t Index>
void standIn(NContext& ctx, int line, ArgList& args, NRefPtr& result) {
    callGraphicsEntry(Index, ctx, line, args, result);
}

template <std::size_t... Index>
void registerStandIns(std::index_sequence<Index...>) {
    (registerNative(kKeys[Index], &standIn<Index>), ...);
}

}  // namespace

void registerGraphicsBuiltins() { registerStandIns(std::make_index_sequence<kKeyCount>()); }
