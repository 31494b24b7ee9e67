// Node kinds that no script can make evaluate to a clear error.
#include <gtest/gtest.h>

#include <string>

#include "tree_builder.h"

namespace {

TEST(Evaluator, RowsRangesAndStrayKindsAreUnknownOpcodes) {
    for (std::int32_t kind : {static_cast<std::int32_t>(OP_ROW), static_cast<std::int32_t>(OP_ALLRANGE),
                              static_cast<std::int32_t>(OP_RANGE), 0, 66, -3}) {
        Node* n = node_unary(OP_NEG, nullptr);
        n->kind = kind;
        n->line = 7;
        NContext ctx;
        try {
            evaluate(ctx, n);
            ADD_FAILURE() << "kind " << kind << " evaluated";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "error [7]: Unknown opcode: " + std::to_string(kind));
        }
        n->kind = OP_NEG;  // freed as the node it was made as
        node_free(n);
    }
}

}  // namespace
