// The state of the parse in progress, used by the grammar's actions: the
// stack of open blocks, the pending function definitions and the error count.
#pragma once

#include "frontend/context.h"
#include "frontend/node.h"

// block_open: a new statement list becomes the innermost open one.
void parse_open_block();
// block_close: the innermost list is closed and wrapped in an OP_BLOCK node.
Node* parse_close_block();
// Appends a finished statement to the innermost open list.
void parse_append_statement(Node* statement);
// A function definition goes to the pending table under "name$argc"; the
// name node is freed here.
void parse_define_function(Node* name, Node* params, Node* body);
// True when every element of a row is a name or a subscripted name.
bool parse_row_is_assignable(const Node* row);
// Prints a front-end error and counts it against the parse.
void parse_report_error(const char* message);

// Called by every statement list as it is destroyed, so that a failed parse
// does not delete it a second time.
void parse_context_destroyed(Context* ctx);
