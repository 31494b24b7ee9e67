// A readable text form of syntax trees, for tests and debugging:
// (kind child child ...) with lists in [ ] and blocks in { }.
#pragma once

#include <string>

#include "frontend/context.h"
#include "frontend/node.h"

// The name used for a node kind in dumps ("add", "ident", ...).
const char* kindName(int kind);
std::string dumpNode(const Node* n);
// One statement per line.
std::string dumpTree(const Context& program);
