%{
// The grammar. Each top-level statement is appended to the innermost open
// statement list as soon as it is reduced; function definitions go to the
// pending table. Nodes are never freed on error paths here: everything a
// failed parse allocated is released at once by the memory record.
#include <cstring>

#include "frontend/frontend.h"
#include "frontend/parser_support.h"
#include "frontend/scanner_state.h"

// Both stacks are made at their full size up front and never grow; running
// out of room is reported as a stack overflow.
#define YYINITDEPTH 4096
#define YYMAXDEPTH 4096

static void yyerror(const char* message) {
    parse_report_error(std::strcmp(message, "memory exhausted") == 0 ? "yacc stack overflow" : message);
}

static Node* chain(Node* first, Node* rest) {
    first->child[2] = rest;
    return first;
}
%}

%define api.value.type {Node*}
%expect 0

%token NUMBER 257 IDENT 258 STRING 259 FILEID 260
%token IF 262 ELSE 263 WHILE 264 FOR 265 DO 266 TRY 267 CATCH 268 SWITCH 269 CASE 270 DEFAULT 271
%token EQ 272 NE 273 GT 274 GE 275 LT 276 LE 277 SAME 278 NSAME 279
%token VAR 280 EXTERN 281 FUNCTION 282 BREAK 283 CONTINUE 284 RETURN 285
%token ANDAND 286 OROR 287
%token ADDSET 288 SUBSET 289 MULSET 290 DIVSET 291 POWSET 292 MODSET 293 LDIVSET 294
%token INC 295 DEC 296 POW 297 ALL 298 ANY 299 SWAP 300 INPUT 301 LINPUT 302 DOTSET 303

/* Loosest first. NO_ELSE and NO_CATCH rank an if without else (a try
   without catch) below the ELSE (CATCH) token, so that the token is shifted
   and binds to the nearest if (try). */
%precedence NO_ELSE
%precedence ELSE
%precedence NO_CATCH
%precedence CATCH
/* An assignment's left side is never an expression, so a = b = c can only
   group to the right; the level keeps a = b + c from reducing early. */
%precedence '=' ADDSET SUBSET MULSET DIVSET POWSET MODSET DOTSET LDIVSET
%right '?' ':'
%left ANDAND OROR
/* Prefix all and any take in comparisons and arithmetic but stop at && and
   ||: all a == b is all (a == b), all a && b is (all a) && b. */
%precedence ALL ANY
%left EQ NE SAME NSAME
%left GT LT GE LE
%left '+' '-'
%left '*' '/' '%' '.' '\\'
/* SIGN ranks prefix - and + above the binary operators but below ^ and ',
   so that -a^2 is -(a^2) and -a' is -(a'). */
%precedence SIGN
%right POW
%precedence '\''
/* Prefix ! binds tightest of all: !a^b is (!a)^b and !a' is (!a)'. */
%precedence '!'

%%

program
    : %empty
    | stmt_list
    ;

stmt_list
    : item
    | stmt_list item
    ;

item
    : stmt                          { if ($1 != nullptr) parse_append_statement($1); }
    | func_def
    ;

stmt
    : ';'                           { $$ = nullptr; }
    | expr_list ';'
    | for_stmt
    | if_stmt
    | while_stmt
    | do_stmt
    | try_stmt
    | switch_stmt
    | block
    | case_label
    | RETURN ';'                    { $$ = node_unary(OP_RETURN, nullptr); }
    | RETURN expr ';'               { $$ = node_unary(OP_RETURN, $2); }
    | BREAK ';'                     { $$ = node_unary(OP_BREAK, nullptr); }
    | CONTINUE ';'                  { $$ = node_unary(OP_CONTINUE, nullptr); }
    | error ';'                     { yyclearin; $$ = nullptr; }
    ;

case_label
    : CASE expr ':'                 { $$ = node_unary(OP_CASE, $2); }
    | DEFAULT                       { $$ = node_unary(OP_DEFAULT, nullptr); }
    ;

expr_list
    : expr ',' expr_list            { $$ = node_binary(OP_COMMA, $1, $3); }
    | expr
    | var_decl
    | extern_decl
    ;

expr
    : expr '+' expr                 { $$ = node_binary(OP_ADD, $1, $3); }
    | expr '-' expr                 { $$ = node_binary(OP_SUB, $1, $3); }
    | expr '.' expr                 { $$ = node_binary(OP_DOT, $1, $3); }
    | expr '/' expr                 { $$ = node_binary(OP_DIV, $1, $3); }
    | expr '%' expr                 { $$ = node_binary(OP_MOD, $1, $3); }
    | expr '*' expr                 { $$ = node_binary(OP_MUL, $1, $3); }
    | expr '\\' expr                { $$ = node_binary(OP_LDIV, $1, $3); }
    | assign_target '=' expr        { $$ = node_binary(OP_ASSIGN, $1, $3); }
    | lvalue ADDSET expr            { $$ = node_binary(OP_ADDSET, $1, $3); }
    | lvalue SUBSET expr            { $$ = node_binary(OP_SUBSET, $1, $3); }
    | lvalue MULSET expr            { $$ = node_binary(OP_MULSET, $1, $3); }
    | lvalue DOTSET expr            { $$ = node_binary(OP_DOTSET, $1, $3); }
    | lvalue DIVSET expr            { $$ = node_binary(OP_DIVSET, $1, $3); }
    | lvalue POWSET expr            { $$ = node_binary(OP_POWSET, $1, $3); }
    | lvalue MODSET expr            { $$ = node_binary(OP_MODSET, $1, $3); }
    | lvalue LDIVSET expr           { $$ = node_binary(OP_LDIVSET, $1, $3); }
    | expr EQ expr                  { $$ = node_binary(OP_EQ, $1, $3); }
    | expr NE expr                  { $$ = node_binary(OP_NE, $1, $3); }
    | expr GT expr                  { $$ = node_binary(OP_GT, $1, $3); }
    | expr LT expr                  { $$ = node_binary(OP_LT, $1, $3); }
    | expr GE expr                  { $$ = node_binary(OP_GE, $1, $3); }
    | expr LE expr                  { $$ = node_binary(OP_LE, $1, $3); }
    | expr SAME expr                { $$ = node_binary(OP_SAME, $1, $3); }
    | expr NSAME expr               { $$ = node_binary(OP_NSAME, $1, $3); }
    | expr ANDAND expr              { $$ = node_binary(OP_AND, $1, $3); }
    | expr OROR expr                { $$ = node_binary(OP_OR, $1, $3); }
    | expr '?' expr ':' expr        { $$ = node_cond($1, $3, $5); }
    | ALL expr                      { $$ = node_unary(OP_ALL, $2); }
    | ANY expr                      { $$ = node_unary(OP_ANY, $2); }
    | unary
    ;

unary
    : '-' unary %prec SIGN          { $$ = node_unary(OP_NEG, $2); }
    | '+' unary %prec SIGN          { $$ = $2; }
    | unary POW unary               { $$ = node_binary(OP_POW, $1, $3); }
    | '!' unary                     { $$ = node_unary(OP_NOT, $2); }
    | unary '\''                    { $$ = node_unary(OP_TRANS, $1); }
    | INC lvalue                    { $$ = node_unary(OP_PREINC, $2); }
    | DEC lvalue                    { $$ = node_unary(OP_PREDEC, $2); }
    | lvalue INC                    { $$ = node_unary(OP_POSTINC, $1); }
    | lvalue DEC                    { $$ = node_unary(OP_POSTDEC, $1); }
    | call
    | primary
    ;

primary
    : NUMBER
    | STRING
    | FILEID
    | matrix
    | lvalue
    | '(' expr_list ')'             { $$ = $2; }
    ;

lvalue
    : IDENT
    | IDENT '[' subscript ']'               { $$ = node_binary(OP_INDEX, $1, $3); }
    | IDENT '[' subscript ',' subscript ']' { $$ = node_binary(OP_INDEX, $1, chain($3, $5)); }
    ;

assign_target
    : lvalue
    | row                           {
                                        if (!parse_row_is_assignable($1)) {
                                            // Reported and recovered from like any syntax error.
                                            if (!YYRECOVERING()) yyerror("syntax error");
                                            YYERROR;
                                        }
                                    }
    ;

subscript
    : bound
    | bound ':' bound               { $$ = node_binary(OP_RANGE, $1, $3); }
    ;

bound
    : '*'                           { $$ = node_unary(OP_ALLRANGE, nullptr); }
    | expr
    ;

var_decl
    : VAR declarator_list           { $$ = node_unary(OP_VAR, $2); }
    ;

declarator_list
    : declarator ',' declarator_list    { $$ = chain($1, $3); }
    | declarator
    ;

declarator
    : IDENT
    | IDENT '=' expr                { $$ = node_binary(OP_ASSIGN, $1, $3); }
    ;

extern_decl
    : EXTERN ident_list             { $$ = node_unary(OP_EXTERN, $2); }
    ;

ident_list
    : IDENT ',' ident_list          { $$ = chain($1, $3); }
    | IDENT
    ;

call
    : IDENT '(' opt_args ')'        { $$ = node_binary(OP_CALL, $3, $1); }
    | SWAP lvalue ',' lvalue ')'    { $$ = node_binary(OP_SWAP, $2, $4); }
    | INPUT input_list ')'          { $$ = node_unary(OP_INPUT, $2); }
    | LINPUT input_list ')'         { $$ = node_unary(OP_LINPUT, $2); }
    ;

opt_args
    : %empty                        { $$ = nullptr; }
    | arg_list
    ;

arg_list
    : expr ',' arg_list             { $$ = chain($1, $3); }
    | expr
    ;

input_list
    : input_names
    | FILEID ',' input_names        { $$ = chain($1, $3); }
    ;

input_names
    : IDENT
    | IDENT ',' input_names         { $$ = chain($1, $3); }
    ;

func_def
    : FUNCTION IDENT '(' param_list ')' block   { parse_define_function($2, $4, $6); $$ = nullptr; }
    ;

param_list
    : %empty                        { $$ = nullptr; }
    | IDENT
    | IDENT ',' param_list          { $$ = chain($1, $3); }
    ;

block
    : block_open block_close                { $$ = $2; }
    | block_open stmt_list block_close      { $$ = $3; }
    ;

block_open
    : '{'                           { parse_open_block(); $$ = nullptr; }
    ;

block_close
    : '}'                           { $$ = parse_close_block(); }
    ;

matrix
    : rows                          { $$ = node_unary(OP_MATRIX, $1); }
    ;

rows
    : row
    | row rows                      { $$ = chain($1, $2); }
    ;

row
    : '[' row_elems ']'             { $$ = node_unary(OP_ROW, $2); }
    ;

row_elems
    : expr
    | expr ',' row_elems            { $$ = chain($1, $3); }
    ;

if_stmt
    : IF '(' expr_list ')' stmt %prec NO_ELSE   { $$ = node_if($3, $5, nullptr); }
    | IF '(' expr_list ')' stmt ELSE stmt       { $$ = node_if($3, $5, $7); }
    ;

while_stmt
    : WHILE '(' expr_list ')' stmt  { $$ = node_loop(OP_WHILE, $3, $5); }
    ;

do_stmt
    : DO stmt WHILE '(' expr_list ')'   { $$ = node_loop(OP_DO, $5, $2); }
    ;

for_stmt
    : FOR '(' opt_expr_list ';' opt_expr ';' opt_expr_list ')' stmt { $$ = node_for($3, $5, $7, $9); }
    ;

switch_stmt
    : SWITCH '(' expr_list ')' block    { $$ = node_switch($3, $5); }
    ;

try_stmt
    : TRY stmt %prec NO_CATCH                   { $$ = node_try($2, nullptr, nullptr); }
    | TRY stmt CATCH '(' catch_var ')' stmt     { $$ = node_try($2, $5, $7); }
    ;

opt_expr_list
    : %empty                        { $$ = nullptr; }
    | expr_list
    ;

opt_expr
    : %empty                        { $$ = nullptr; }
    | expr
    ;

catch_var
    : IDENT
    | VAR IDENT                     { $$ = node_unary(OP_VAR, $2); }
    ;

%%
