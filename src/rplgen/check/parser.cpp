// The checking parser: the grammar of grammar.y generated a second time, with
// the prefix "rplgen_check_yy", locations, lookahead correction and detailed
// error reports (see CMakeLists.txt). Its actions are the grammar's own, so it
// translates as rplgen's parser does; this file adds what bison lets a parser
// add around its actions: the tokens' locations, the location of each
// reduction (where the checker hears of the construct reduced) and the report
// of a syntax error. Everything else is the checker's.
#include <vector>

#include "rplgen/check/checker.h"
#include "rplgen/check/parse.h"
#include "rplgen/check/span.h"
#include "rplgen/lexer/scanner.h"
#include "support/origins.h"

int rplgen_check_yylex();
void rplgen_check_yyerror(const char* message);

namespace {
rplgen::check::Checker* checker = nullptr;
rplgen::check::Span reduce_rule(int rule, const rplgen::check::Span* rhs, int n);
}  // namespace

// Spans are copied as bytes when the parser's stacks grow.
#define RPLGEN_CHECK_YYLTYPE_IS_TRIVIAL 1

// Every reduction: `yyn` is the rule being reduced, whose action runs next.
#define YYLLOC_DEFAULT(Current, Rhs, N) ((Current) = reduce_rule(yyn, (Rhs), (N)))

#include "rplgen/check/grammar_check.cpp"

namespace {

using rplgen::check::Construct;
using rplgen::check::Span;

// The token code of each symbol kind of a token.
int token_code(yysymbol_kind_t kind) {
  static const std::vector<int> codes = [] {
    std::vector<int> table(YYNTOKENS, -1);
    for (int code = YYMAXUTOK; code >= 0; --code) table[YYTRANSLATE(code)] = code;
    return table;
  }();
  return codes[kind];
}

Construct statement_kind(const Span* rhs, int n) {
  switch (rhs[1].token) {
    case DECLARE: return Construct::function;
    case IF:
    case WHILE:
    case SWITCH: return Construct::condition_statement;
    case DO: return Construct::do_while;
    case FOR: return Construct::for_loop;
    case ASSIGN: return n == 8 ? Construct::element_store : Construct::list_store;
    default: return n == 2 ? Construct::expression_statement : Construct::other;
  }
}

Construct construct_of(int rule, const Span* rhs, int n) {
  const auto lhs = static_cast<yysymbol_kind_t>(yyr1[rule]);
  if (n == 0) return Construct::other;
  switch (lhs) {
    case YYSYMBOL_identifier: return Construct::name;
    case YYSYMBOL_constant:
    case YYSYMBOL_string_constant: return Construct::constant;
    case YYSYMBOL_primary_expr:
      switch (n == 1 ? 0 : rhs[1].token) {
        case '(': return n == 3 ? Construct::parenthesis : Construct::factorial;
        case AT_LBRACKET: return Construct::vector_literal;
        case AT_LBRACE: return n == 2 ? Construct::empty_list : Construct::list_literal;
        case AT_LPAREN: return Construct::complex_literal;
        default: return Construct::other;
      }
    case YYSYMBOL_expr_list: return n == 1 ? Construct::first_item : Construct::next_item;
    case YYSYMBOL_postfix_expr:
      if (n == 1) return Construct::other;
      switch (rhs[2].token) {
        case '[': return Construct::index;
        case '(': return Construct::call;
        default: return Construct::postfix_step;
      }
    case YYSYMBOL_unary_expr:
      switch (n == 1 ? 0 : rhs[1].token) {
        case INC_OP:
        case DEC_OP: return Construct::prefix_step;
        case '+': return Construct::unary_plus;
        case '-': return Construct::negation;
        case '~':
        case '!': return Construct::logical_not;
        default: return Construct::other;
      }
    case YYSYMBOL_power_expr:
    case YYSYMBOL_multiplicative_expr:
    case YYSYMBOL_additive_expr:
    case YYSYMBOL_relational_expr:
    case YYSYMBOL_equality_expr:
    case YYSYMBOL_ampersand_expr:
    case YYSYMBOL_caret_expr:
    case YYSYMBOL_bar_expr:
    case YYSYMBOL_logical_and_expr:
    case YYSYMBOL_logical_or_expr: return n == 3 ? Construct::binary : Construct::other;
    case YYSYMBOL_conditional_expr: return n == 5 ? Construct::conditional : Construct::other;
    case YYSYMBOL_assignment_expr: return n == 3 ? Construct::assignment : Construct::other;
    case YYSYMBOL_expr: return n == 3 ? Construct::comma : Construct::other;
    case YYSYMBOL_function_keyword: return Construct::function_keyword;
    case YYSYMBOL_local_decl: return Construct::local_declaration;
    case YYSYMBOL_statement: return statement_kind(rhs, n);
    case YYSYMBOL_case_list: return n == 1 ? Construct::first_clause : Construct::next_clause;
    case YYSYMBOL_case_clause:
      return rhs[1].token == CASE ? Construct::case_clause : Construct::default_clause;
    default: return Construct::other;
  }
}

Span reduce_rule(int rule, const Span* rhs, int n) {
  return checker->reduce(construct_of(rule, rhs, n), rhs, n);
}

}  // namespace

static int yyreport_syntax_error(const yypcontext_t* context) {
  yysymbol_kind_t kinds[YYNTOKENS];
  const int count = yypcontext_expected_tokens(context, kinds, YYNTOKENS);
  std::vector<int> expected;
  for (int i = 0; i < count; ++i) expected.push_back(token_code(kinds[i]));
  checker->syntax_error(*yypcontext_location(context), expected);
  return 0;
}

// Bison's only other message: the stack has reached its cap.
void rplgen_check_yyerror(const char*) { checker->stack_overflow(); }

int rplgen_check_yylex() {
  const int code = rplgen_yylex();
  if (code <= 0) {
    yylloc = checker->token(0, 0, 0);
    return code;
  }
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  if (code == RPLGEN_CHECK_YYUNDEF && rplgen_yyleng == 0) {
    begin = end = rplgen::open_comment_offset();
  } else {
    const std::string_view lexeme = rplgen::current_lexeme();
    begin = rplgen::lexeme_offset();
    end = begin + lexeme.size();
    rpl::set_origin_source(lexeme, static_cast<std::uint32_t>(begin));
  }
  yylloc = checker->token(code, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
  return code;
}

namespace rplgen::check {

void parse(Checker& active) {
  checker = &active;
  rplgen_check_yylloc = Span{};
  rplgen_check_yyparse();
  checker = nullptr;
}

}  // namespace rplgen::check
