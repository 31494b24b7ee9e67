#include "frontend/context.h"

#include "frontend/parser_support.h"

Context::~Context() {
    for (Node* statement : *this)
        if (statement != nullptr) node_free(statement);
    parse_context_destroyed(this);
}
