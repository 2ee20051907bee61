#pragma once

#include <string>
#include <span>
#include <string_view>
#include <vector>

#include "syntax/tree.hpp"

namespace ovm::cli {

// The syntax tree as the JSON document `ovm parse --json` prints, ending with a newline.
std::string tree_to_json(const std::vector<syntax::Block>& blocks, std::string_view source);

// A text as a JSON string literal in this document's own escaping (carriage returns are
// dropped; other control characters become \u00XX).
std::string json_string(std::string_view text);

// A number in this document: shortest round-trip digits, never an exponent.
std::string tree_json_number_text(double value);

void statement_to_json(std::string& out, const syntax::Statement& statement, std::string_view source, std::size_t n);
void atoms_to_json(std::string& out, std::span<const syntax::Value> values);
void expr_to_json(std::string& out, const syntax::SyntaxExpr& expr);

}  // namespace ovm::cli
