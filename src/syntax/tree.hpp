#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"
#include "syntax/arena.hpp"
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

// Lists, units, expressions and targets live in the tree's arena. Most statements have no unit,
// expression or target, so they are held by pointer: a statement's size is that of its largest
// body.

// key value... [unit]; also a key alone on its line with nothing nested under it.
struct ValuesBody {
  std::span<const Value> values;
  const UnitExpr* unit = nullptr;  // null when none is written
};

// key [target] = expr [unit]
struct AssignmentBody {
  const Name* target = nullptr;    // null when none is written
  const SyntaxExpr* expr = nullptr;  // never null in a parsed tree
  const UnitExpr* unit = nullptr;  // null when none is written
};

// key [value, ...]
struct ListBody {
  std::span<const Value> items;
};

// key expr op expr [unit]
struct ConditionBody {
  const SyntaxExpr* lhs = nullptr;  // never null in a parsed tree
  CompareOp op = CompareOp::Less;
  const SyntaxExpr* rhs = nullptr;  // never null in a parsed tree
  const UnitExpr* unit = nullptr;   // null when none is written
};

// A key alone on its line with more deeply indented statements under it.
struct NestedBody {
  std::span<const Statement> statements;
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

// The spans come last, where they pack.
struct Block {
  std::string_view keyword;  // the header word as written
  std::optional<Name> name;
  std::span<const Statement> statements;  // top level only
  diagnostics::Span keyword_span;
  diagnostics::Span span;
};

// The tree's texts are slices of the source text it was parsed from, which must outlive it; its
// nodes live in its arena.
struct ParseOutput {
  std::vector<Block> blocks;
  diagnostics::Diagnostics diagnostics;  // the lexer's, then the parser's, each in the order found
  Arena arena;
};

}  // namespace ovm::syntax
