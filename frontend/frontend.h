// The front door of the language front end: attach an input to the scanner,
// parse it into a statement list, and collect function definitions.
#pragma once

#include <map>
#include <string>

#include "frontend/context.h"
#include "frontend/node.h"

// Attaching sets the current line to 1 and the source name (none for a text);
// the scanner's start condition carries over from the previous input.
// Returns false when the reader could not be made (the input reads as empty).
bool scanner_attach_file(const char* path);
bool scanner_attach_text(const char* text);
// A text from memory that names its source (a preprocessed script, whose
// line markers then name the files and lines it came from).
bool scanner_attach_named_text(const std::string& text, const char* name);
void scanner_detach();

// A line typed at the console ends a line comment or a directive line that
// it left open, as if a line feed followed it; a block comment goes on.
void scanner_end_line();
// True while a block comment left open by an earlier input goes on.
bool scanner_in_block_comment();

// The scanner's position, read by the error printer and node constructors.
int scanner_line();
int scanner_file();

// Function definitions collected by the parse in progress, keyed "name$n".
struct PendingDef {
    Node* params;  // first OP_IDENT, chained by next; may be null
    Node* body;    // OP_BLOCK
};
using PendingTable = std::map<std::string, PendingDef>;

// Parses the attached input. On success returns the outermost statement list
// and hands the definitions over in `pending` (the caller commits them); on
// failure frees everything of the parse, leaves `pending` empty and returns null.
Context* parse_program(PendingTable& pending);

// Front-end error printer: "error [NAME:LINE]: MSG" or "error [LINE]: MSG".
void print_frontend_error(const char* message);

// The source-name table.
int fid_intern(const char* name);
const char* fid_name(int index);  // null for a bad index
