#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/span.hpp"
#include "syntax/expr.hpp"
#include "syntax/parser_state.hpp"
#include "syntax/tree.hpp"
#include "syntax/unit_expr.hpp"
#include "syntax/value.hpp"

namespace ovm::syntax {

// The syntax tree of one file. Never fails: each problem becomes a diagnostic and parsing goes
// on with the next line.
ParseOutput parse_source(std::string_view text, std::uint32_t file);

// One statement with its whole line (for a nested body, with the lines it owns), appended to the
// list of the current statement depth; false, with nothing appended, when the line cannot
// open a statement.
bool parse_statement(ParserState& state);

// One value at the current token; nothing, without moving, when the token starts no value.
std::optional<Value> parse_value(ParserState& state);

// The values to the line end, then a unit when one ends the line, as the body of a statement
// with this key and span.
Statement parse_values(ParserState& state, StatementKey key, diagnostics::Span span);

// A unit running from the current token to the line end, or nothing with the position
// unchanged; its factors are left in the state's factor list. Never reports anything.
std::optional<UnitExpr> parse_unit(ParserState& state);

// An expression and the height of its tree (a leaf is 1).
struct ParsedExpr {
  SyntaxExpr expr;
  std::uint32_t height = 1;
};

// Precedence levels, lowest first. They always give a node: problems give error nodes and
// diagnostics. None reads past the current line.
ParsedExpr parse_expr(ParserState& state);     // + and -
ParsedExpr parse_term(ParserState& state);     // * and /
ParsedExpr parse_factor(ParserState& state);   // leading minus, ^ (right associative)
ParsedExpr parse_primary(ParserState& state);  // operands, calls, qualified names, parentheses

void qualified_name_error(ParserState& state, diagnostics::Span span);

// The text without any white-space character, Unicode ones included.
std::string strip_whitespace(std::string_view text);

// Whether the text holds a control or space byte, or one outside ASCII: a text without any
// holds no white space, and strip_whitespace gives it back as it is.
bool may_hold_whitespace(std::string_view text);

}  // namespace ovm::syntax
