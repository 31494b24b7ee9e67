// What the scanner shares with the parser inside the front end.
#pragma once

#include "frontend/node.h"

// The scanner proper (generated); its token value goes to yylval.
int yylex();

// Start conditions, for tests that check what carries over between inputs.
enum class ScanMode { Initial, SkipLine, Comment, LineComment, InString };
ScanMode scanner_mode();
// Forces the start condition back to the one the program starts with.
void scanner_reset_mode();
