#pragma once

#include <string>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "syntax/expr.hpp"
#include "syntax/tree.hpp"
#include "syntax/value.hpp"

namespace ovm::syntax::testing {

// Compact texts of tree parts, so a test states a whole shape in one expected string.
//   value:      "number:-3", "ident:a", "qualified:A.B", "raw:- b", "string:ab"
//   expression: "(- (- 1 2) 3)", "(neg x)", "f(a, b)", "A.B", "lit:date:2024-01-15", "<error>"
//   body:       "values[ident:a] unit mg/L", "assign k = (* 2 x) unit 1/s", "list[...]",
//               "cond time >= 10 unit d", "nested{Word(\"a\"): values[number:1]; ...}"
std::string value_text(const Value& value);
std::string values_text(std::span<const Value> values);
std::string expr_text(const SyntaxExpr& expr);
std::string body_text(const StatementBody& body);
std::string statement_text(const Statement& statement);

// A diagnostic reduced to what the parser decides: code, span and label.
struct Reported {
  std::string code;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::string label;

  friend bool operator==(const Reported&, const Reported&) = default;
};

std::vector<Reported> reported(const diagnostics::Diagnostics& list);

// Readable failure output for gtest.
void PrintTo(const Reported& r, std::ostream* os);

}  // namespace ovm::syntax::testing
