// Parses a program text the way every run does and reports what came out.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frontend/frontend.h"
#include "frontend/memman.h"
#include "frontend/tree_dump.h"

struct ParseOutcome {
    bool ok = false;
    std::string tree;    // the dump of the statement list when ok
    std::string errors;  // what the front end printed on standard error
    PendingTable pending;
};

// The dump of the program, or the errors when the parse failed. The
// statement list and pending definitions are freed before returning.
inline ParseOutcome parseText(const char* text) {
    ParseOutcome out;
    testing::internal::CaptureStderr();
    scanner_attach_text(text);
    Context* program = parse_program(out.pending);
    out.errors = testing::internal::GetCapturedStderr();
    out.ok = program != nullptr;
    if (program != nullptr) {
        out.tree = dumpTree(*program);
        delete program;
    }
    for (auto& [key, def] : out.pending) {
        if (def.params != nullptr) node_free(def.params);
        if (def.body != nullptr) node_free(def.body);
        def = PendingDef{nullptr, nullptr};
    }
    return out;
}

// The dump of one statement without its trailing newline; fails the test
// when the text does not parse.
inline std::string treeOf(const char* text) {
    ParseOutcome out = parseText(text);
    EXPECT_TRUE(out.ok) << text << "\n" << out.errors;
    if (!out.tree.empty() && out.tree.back() == '\n') out.tree.pop_back();
    return out.tree;
}
