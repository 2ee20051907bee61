#pragma once

#include "syntax/parser_state.hpp"
#include "syntax/token.hpp"
#include "syntax/value.hpp"

namespace ovm::syntax {

// An identifier, a chemical species or a delta symbol: what may follow `.` in a qualified name.
bool is_name_part(TokenKind kind);

// A species, ratio, delta symbol, date, string or number: a token that is a value by itself.
bool is_literal(TokenKind kind);

// The value such a token stands for; a string without its quotes.
Value literal_value(const ParserState& state, const Token& token);

}  // namespace ovm::syntax
