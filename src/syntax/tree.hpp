#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"
#include "syntax/expr.hpp"
#include "syntax/unit_expr.hpp"
#include "syntax/value.hpp"

namespace ovm::syntax {

// The word that opens a statement, as written.
struct StatementKey {
  enum class Kind : std::uint8_t { Word = 0, Species = 1, Delta = 2 };

  Kind kind = Kind::Word;
  std::string_view text;  // a Word joined from a number and a name (18O) holds both

  // The variant name and the text as a quoted debug string: Word("volume").
  std::string debug_text() const;

  friend bool operator==(const StatementKey&, const StatementKey&) = default;
};

struct Statement;

// Units, expressions and targets are boxed: most statements have none, and a statement's size
// is that of its largest body.

// key value... [unit]; also a key alone on its line with nothing nested under it.
struct ValuesBody {
  std::vector<Value> values;
  std::unique_ptr<UnitExpr> unit;  // null when none is written
};

// key [target] = expr [unit]
struct AssignmentBody {
  std::unique_ptr<Name> target;      // null when none is written
  std::unique_ptr<SyntaxExpr> expr;  // never null
  std::unique_ptr<UnitExpr> unit;    // null when none is written
};

// key [value, ...]
struct ListBody {
  std::vector<Value> items;
};

// key expr op expr [unit]
struct ConditionBody {
  std::unique_ptr<SyntaxExpr> lhs;  // never null
  CompareOp op = CompareOp::Less;
  std::unique_ptr<SyntaxExpr> rhs;  // never null
  std::unique_ptr<UnitExpr> unit;   // null when none is written
};

// A key alone on its line with more deeply indented statements under it.
struct NestedBody {
  std::vector<Statement> statements;
};

using StatementBody = std::variant<ValuesBody, AssignmentBody, ListBody, ConditionBody, NestedBody>;

struct Statement {
  StatementKey key;
  diagnostics::Span key_span;
  StatementBody body;
  // From the key to the last token consumed: the statement's own line end, and for a nested
  // body the lines under it and the blank lines after them.
  diagnostics::Span span;
  std::uint32_t indent = 0;  // byte column of the key
};

struct Block {
  std::string_view keyword;  // the header word as written
  diagnostics::Span keyword_span;
  std::optional<Name> name;
  std::vector<Statement> statements;  // top level only
  diagnostics::Span span;
};

// The tree's texts are slices of the source text it was parsed from, which must outlive it.
struct ParseOutput {
  std::vector<Block> blocks;
  diagnostics::Diagnostics diagnostics;  // the lexer's, then the parser's, each in the order found
};

}  // namespace ovm::syntax
