/* The grammar of the source language.
 *
 * The productions stand in the order of their rule numbers (bison's rule N is
 * rule N) and each action is one call into translate/, where the RPL templates
 * live. Precedence comes from the layering of the expression nonterminals
 * alone; the one conflict is the dangling ELSE, resolved by shifting.
 *
 * The parser's names carry the prefix "rplgen_yy", like the scanner's.
 *
 * Tokens carry no value. The rules that take a token's text (identifier,
 * constant, string_constant) are reduced as soon as the token is shifted,
 * before the next token is read, so their actions read the current lexeme.
 *
 * The symbols listed with %destructor carry a text each; the others carry
 * nothing. A parse given up half way releases the texts its stack holds.
 */

%code requires {
#include "support/text.h"
}

%code {
#include <cstdlib>

#include "rplgen/lexer/scanner.h"
#include "rplgen/parser/parser.h"
#include "rplgen/translate/constants.h"
#include "rplgen/translate/elements.h"
#include "rplgen/translate/expressions.h"
#include "rplgen/translate/locals.h"
#include "rplgen/translate/program.h"
#include "rplgen/translate/statements.h"

using namespace rplgen;
using rpl::xstrcat_list;

// The value stack starts with room for 200 entries, doubles when full and is
// capped at 10000 entries. Its growth ends the run as exhausted memory when
// the allocation fails, so that reaching the cap is the only overflow.
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define YYMALLOC rplgen::parser_stack_allocate
#define YYFREE std::free
}

%define api.prefix {rplgen_yy}
%define api.value.type {rpl::Text*}
%destructor { rpl::text_free($$); }
    statement_list opt_statement_list statement case_list case_clause
    primary_expr expr_list postfix_expr unary_expr power_expr multiplicative_expr
    additive_expr relational_operand relational_expr equality_expr ampersand_expr
    caret_expr bar_expr logical_and_expr logical_or_expr conditional_expr
    assignment_expr expr opt_expr identifier constant string_constant
%expect 1

/* The statements complete at the top level: a statement list at the bottom of
 * the stack, when an action asks (an action's symbols are on the stack, so it
 * has a bottom). Only the stacks' bottoms are taken by reference, so that the
 * parser keeps its tops in registers. */
%initial-action {
  complete_statements = [&yyss, &yyvs]() -> rpl::Text** {
    return YY_ACCESSING_SYMBOL(yyss[1]) == YYSYMBOL_statement_list ? &yyvs[1] : nullptr;
  };
}

%token ASSIGN 257 CASE 258 DECLARE 259 DEFAULT 260 DO 261 ELSE 262 FOR 263
%token IF 264 SWITCH 265 WHILE 266
%token AT_LBRACKET 267 AT_RBRACKET 268 AT_LBRACE 269 AT_RBRACE 270
%token AT_LPAREN 271 AT_RPAREN 272
%token IDENTIFIER 273 NUMBER 274 ALGEBRAIC 275 VERBATIM 276 STRING 277
%token RPL_PROGRAM 278
%token RIGHT_ASSIGN 279 LEFT_ASSIGN 280 ADD_ASSIGN 281 SUB_ASSIGN 282
%token MUL_ASSIGN 283 DIV_ASSIGN 284 MOD_ASSIGN 285 AMPERSAND_ASSIGN 286
%token CARET_ASSIGN 287 BAR_ASSIGN 288
%token POW_OP 289 RIGHT_OP 290 LEFT_OP 291 INC_OP 292 DEC_OP 293
%token AND_OP 294 OR_OP 295 LE_OP 296 GE_OP 297 EQ_OP 298 NE_OP 299

%start program

%%

program
    : %empty                       { no_program(); }
    | statement_list               { write_program($1); }
    ;

statement_list
    : statement
    | statement_list statement     { $$ = xstrcat_list($1, $2); }
    ;

opt_statement_list
    : %empty                       { $$ = empty_text(); }
    | statement_list
    ;

opt_local_clause
    : %empty
    | local_clause
    ;

local_clause
    : ':' local_list
    ;

local_list
    : local_list ',' local_decl
    | local_decl
    ;

local_decl
    : identifier '(' constant ')'  { add_local($1, $3); }
    ;

function_keyword
    : DECLARE                      { open_local_table(); }
    ;

statement
    : function_keyword identifier '(' expr_list ')' opt_local_clause '{' opt_statement_list '}'
                                   { $$ = make_function($2, $4, $8); }
    | function_keyword identifier '(' ')' opt_local_clause '{' opt_statement_list '}'
                                   { $$ = make_function($2, nullptr, $7); }
    | IF '(' expr ')' statement    { $$ = if_statement($3, $5); }
    | IF '(' expr ')' statement ELSE statement
                                   { $$ = if_else_statement($3, $5, $7); }
    | FOR '(' opt_expr ';' expr ';' opt_expr ')' statement
                                   { $$ = for_statement($3, $5, $7, $9); }
    | FOR '(' opt_expr ';' ';' opt_expr ')' statement
                                   { $$ = for_without_condition($3, $6, $8); }
    | WHILE '(' expr ')' statement { $$ = while_statement($3, $5); }
    | DO statement WHILE '(' expr ')' ';'
                                   { $$ = do_while_statement($2, $5); }
    | SWITCH '(' expr ')' '{' case_list '}'
                                   { $$ = switch_statement($3, $6); }
    | expr ';'                     { $$ = expression_statement($1); }
    | '{' opt_statement_list '}'   { $$ = $2; }
    | ASSIGN identifier '[' expr_list ']' '=' expr ';'
                                   { $$ = element_store($2, $4, $7); }
    | ASSIGN AT_LBRACE expr_list '}' '=' expr ';'
                                   { $$ = list_store($3, $6); }
    | ';'                          { $$ = empty_text(); }
    ;

case_list
    : case_clause
    | case_list case_clause        { $$ = xstrcat_list($1, $2); }
    ;

case_clause
    : CASE expr ':' statement      { $$ = case_clause($2, $4); }
    | DEFAULT ':' statement        { $$ = default_clause($3); }
    ;

primary_expr
    : identifier
    | constant
    | '(' expr ')'                 { $$ = $2; }
    | '(' expr ')' '!'             { $$ = factorial($2); }
    | AT_LBRACKET expr_list ']'    { $$ = vector_literal($2); }
    | AT_LBRACE expr_list '}'      { $$ = list_literal($2); }
    | AT_LBRACE '}'                { $$ = empty_list(); }
    | AT_LPAREN assignment_expr ',' assignment_expr ')'
                                   { $$ = complex_literal($2, $4); }
    ;

expr_list
    : assignment_expr
    | expr_list ',' assignment_expr
                                   { $$ = comma_join($1, $3); }
    ;

postfix_expr
    : primary_expr
    | postfix_expr '[' expr ']'    { $$ = index_expr($1, $3); }
    | postfix_expr '(' ')'         { $$ = call($1); }
    | postfix_expr '(' expr_list ')'
                                   { $$ = call_with_arguments($1, $3); }
    | postfix_expr INC_OP          { $$ = increment($1); }
    | postfix_expr DEC_OP          { $$ = decrement($1); }
    ;

unary_expr
    : postfix_expr
    | INC_OP unary_expr            { $$ = increment($2); }
    | DEC_OP unary_expr            { $$ = decrement($2); }
    | '+' unary_expr               { $$ = $2; }
    | '-' unary_expr               { $$ = negate($2); }
    | '~' unary_expr               { $$ = logical_not($2); }
    | '!' unary_expr               { $$ = logical_not($2); }
    ;

power_expr
    : unary_expr
    | power_expr POW_OP unary_expr { $$ = binary(Binary::power, $1, $3); }
    ;

multiplicative_expr
    : power_expr
    | multiplicative_expr '*' power_expr
                                   { $$ = binary(Binary::multiply, $1, $3); }
    | multiplicative_expr '/' power_expr
                                   { $$ = binary(Binary::divide, $1, $3); }
    | multiplicative_expr '%' power_expr
                                   { $$ = binary(Binary::modulo, $1, $3); }
    ;

additive_expr
    : multiplicative_expr
    | additive_expr '+' multiplicative_expr
                                   { $$ = binary(Binary::add, $1, $3); }
    | additive_expr '-' multiplicative_expr
                                   { $$ = binary(Binary::subtract, $1, $3); }
    ;

relational_operand
    : additive_expr
    ;

relational_expr
    : relational_operand
    | relational_expr '<' relational_operand
                                   { $$ = binary(Binary::less, $1, $3); }
    | relational_expr '>' relational_operand
                                   { $$ = binary(Binary::greater, $1, $3); }
    | relational_expr LE_OP relational_operand
                                   { $$ = binary(Binary::less_equal, $1, $3); }
    | relational_expr GE_OP relational_operand
                                   { $$ = binary(Binary::greater_equal, $1, $3); }
    ;

equality_expr
    : relational_expr
    | equality_expr EQ_OP relational_expr
                                   { $$ = binary(Binary::equal, $1, $3); }
    | equality_expr NE_OP relational_expr
                                   { $$ = binary(Binary::not_equal, $1, $3); }
    ;

ampersand_expr
    : equality_expr
    | ampersand_expr '&' equality_expr
                                   { $$ = binary(Binary::ampersand, $1, $3); }
    ;

caret_expr
    : ampersand_expr
    | caret_expr '^' ampersand_expr
                                   { $$ = binary(Binary::caret, $1, $3); }
    ;

bar_expr
    : caret_expr
    | bar_expr '|' caret_expr      { $$ = binary(Binary::bar, $1, $3); }
    ;

logical_and_expr
    : bar_expr
    | logical_and_expr AND_OP bar_expr
                                   { $$ = binary(Binary::logical_and, $1, $3); }
    ;

logical_or_expr
    : logical_and_expr
    | logical_or_expr OR_OP logical_and_expr
                                   { $$ = binary(Binary::logical_or, $1, $3); }
    ;

conditional_expr
    : logical_or_expr
    | logical_or_expr '?' expr ':' conditional_expr
                                   { $$ = conditional($1, $3, $5); }
    ;

assignment_expr
    : conditional_expr
    | unary_expr '=' assignment_expr
                                   { $$ = store(Store::plain, $1, $3); }
    | unary_expr ADD_ASSIGN assignment_expr
                                   { $$ = store(Store::add, $1, $3); }
    | unary_expr SUB_ASSIGN assignment_expr
                                   { $$ = store(Store::subtract, $1, $3); }
    | unary_expr MUL_ASSIGN assignment_expr
                                   { $$ = store(Store::multiply, $1, $3); }
    | unary_expr DIV_ASSIGN assignment_expr
                                   { $$ = store(Store::divide, $1, $3); }
    | unary_expr MOD_ASSIGN assignment_expr
                                   { $$ = store(Store::modulo, $1, $3); }
    | unary_expr AMPERSAND_ASSIGN assignment_expr
                                   { $$ = store(Store::ampersand, $1, $3); }
    | unary_expr CARET_ASSIGN assignment_expr
                                   { $$ = store(Store::caret, $1, $3); }
    | unary_expr BAR_ASSIGN assignment_expr
                                   { $$ = store(Store::bar, $1, $3); }
    ;

expr
    : assignment_expr
    | expr ',' assignment_expr     { $$ = comma_join($1, $3); }
    ;

opt_expr
    : %empty                       { $$ = empty_text(); }
    | expr
    ;

identifier
    : IDENTIFIER                   { $$ = identifier_text(current_lexeme()); }
    ;

constant
    : NUMBER                       { $$ = number_text(current_lexeme()); }
    | ALGEBRAIC                    { $$ = algebraic_text(current_lexeme()); }
    | VERBATIM                     { $$ = verbatim_text(current_lexeme()); }
    | RPL_PROGRAM                  { $$ = rpl_program_text(current_lexeme()); }
    | string_constant
    ;

string_constant
    : STRING                       { $$ = string_text(current_lexeme()); }
    ;

%%
