// Front-end fuzz target: any bytes as a program text, attached and parsed,
// then the tree and the collected definitions freed. A parse must end in a
// tree or in reported errors, never a crash, and must leave nothing in the
// parse's memory record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontend/frontend.h"
#include "frontend/memman.h"
#include "frontend/scanner_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text ends at its first NUL byte, as every program text does.
    const std::string text(reinterpret_cast<const char*>(data), size);
    scanner_reset_mode();  // each input starts as a fresh program would
    PendingTable pending;
    scanner_attach_text(text.c_str());
    Context* program = parse_program(pending);
    scanner_detach();
    delete program;
    for (auto& [key, def] : pending) {
        if (def.params) node_free(def.params);
        if (def.body) node_free(def.body);
    }
    if (memMan().recordedCount() != 0) {
        std::fprintf(stderr, "fuzz_parse: %zu blocks still recorded after the parse\n", memMan().recordedCount());
        std::abort();
    }
    return 0;
}
