// A statement list: the parser appends each statement of a program or block;
// destroying the list frees every statement tree in it.
#pragma once

#include <vector>

#include "frontend/node.h"

class Context : public std::vector<Node*> {
public:
    Context() = default;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    virtual ~Context();
};
