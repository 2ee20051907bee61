#pragma once

#include <cstdint>
#include <new>
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

// The word that opens a statement, as written. The text is a slice of the source held as a
// start and a 32-bit length, so that the key, with its kind, fills 16 bytes of every statement.
struct StatementKey {
  enum class Kind : std::uint8_t { Word = 0, Species = 1, Delta = 2 };

  StatementKey() = default;
  StatementKey(Kind kind, std::string_view text)
      : text_start(text.data()), text_size(static_cast<std::uint32_t>(text.size())), kind(kind) {}

  // A Word joined from a number and a name (18O) holds both.
  std::string_view text() const { return {text_start, text_size}; }

  // The variant name and the text as a quoted debug string: Word("volume").
  std::string debug_text() const;

  friend bool operator==(const StatementKey& a, const StatementKey& b) {
    return a.kind == b.kind && a.text() == b.text();
  }

  const char* text_start = "";
  std::uint32_t text_size = 0;
  Kind kind = Kind::Word;
};

class Statement;

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

// expr op expr
struct Comparison {
  const SyntaxExpr* lhs = nullptr;  // never null in a parsed tree
  const SyntaxExpr* rhs = nullptr;  // never null in a parsed tree
  CompareOp op = CompareOp::Less;
};

// key expr op expr [unit]. Conditions are rare: the comparison is held by pointer so that it
// does not size every statement.
struct ConditionBody {
  const Comparison* comparison = nullptr;  // never null in a parsed tree
  const UnitExpr* unit = nullptr;          // null when none is written
};

// A key alone on its line with more deeply indented statements under it.
struct NestedBody {
  std::span<const Statement> statements;
};

using StatementBody = std::variant<ValuesBody, AssignmentBody, ListBody, ConditionBody, NestedBody>;

// 56 bytes: a large model holds one per line. The key and the body are held packed and given
// back as the views above. The one value of a line without a unit, the most common body, is
// held in the statement itself; other lists of values, a list and nested statements as a start
// and a 32-bit count (a source is under 4 GiB); the other bodies, far fewer, as their view
// placed in the tree's arena.
class Statement {
 public:
  Statement() = default;
  // The lists of values of the body are copied into the statement or the arena; the nodes and
  // statements it points to must be in the arena already.
  Statement(StatementKey key, const StatementBody& body, diagnostics::Span span, Arena& arena);
  // The same for the most common body, ValuesBody{values, unit}, without building the variant.
  Statement(StatementKey key, std::span<const Value> values, const UnitExpr* unit, diagnostics::Span span, Arena& arena);

  StatementKey key() const { return StatementKey(key_kind_, std::string_view(key_text_, key_size_)); }
  StatementBody body() const;
  // The assignment body, or null for any other: it is placed in the arena, so the pointer lasts
  // as long as the tree.
  const AssignmentBody* assignment() const {
    return form_ == Form::Assignment ? static_cast<const AssignmentBody*>(first()) : nullptr;
  }

  // From the key to the last token consumed: the statement's own line end, and for a nested
  // body the lines under it and the blank lines after them. It starts where the key starts.
  diagnostics::Span span;

 private:
  enum class Form : std::uint8_t { OneValue, Values, PlacedValues, Assignment, List, Condition, Nested };

  struct Held {
    const void* first = nullptr;  // the first item, or the placed view
    std::uint32_t count = 0;      // of the items
  };
  union Storage {
    Held held{};
    alignas(Value) unsigned char value[sizeof(Value)];  // the one value
  };

  const void* first() const { return storage_.held.first; }
  const Value* one_value() const { return std::launder(reinterpret_cast<const Value*>(storage_.value)); }

  // In this order the fields pack after the span.
  std::uint32_t key_size_ = 0;
  const char* key_text_ = "";
  Storage storage_;
  StatementKey::Kind key_kind_ = StatementKey::Kind::Word;
  Form form_ = Form::Values;
};

static_assert(sizeof(Statement) <= 56, "a statement record grows every large model's tree");

inline StatementBody Statement::body() const {
  switch (form_) {
    case Form::OneValue: return ValuesBody{{one_value(), 1}, nullptr};
    case Form::Values: return ValuesBody{{static_cast<const Value*>(first()), storage_.held.count}, nullptr};
    case Form::PlacedValues: return *static_cast<const ValuesBody*>(first());
    case Form::Assignment: return *static_cast<const AssignmentBody*>(first());
    case Form::List: return ListBody{{static_cast<const Value*>(first()), storage_.held.count}};
    case Form::Condition: return *static_cast<const ConditionBody*>(first());
    case Form::Nested: return NestedBody{{static_cast<const Statement*>(first()), storage_.held.count}};
  }
  return ValuesBody{};
}

// Built for most lines, so inline.
inline Statement::Statement(StatementKey key, std::span<const Value> values, const UnitExpr* unit, diagnostics::Span span,
                            Arena& arena)
    : span(span), key_size_(key.text_size), key_text_(key.text_start), key_kind_(key.kind) {
  if (unit != nullptr) {
    form_ = Form::PlacedValues;
    storage_.held = Held{arena.make(ValuesBody{arena.copy(values), unit}), 0};
  } else if (values.size() != 1) {
    form_ = Form::Values;
    storage_.held = Held{arena.copy(values).data(), static_cast<std::uint32_t>(values.size())};
  } else {
    form_ = Form::OneValue;
    ::new (storage_.value) Value(values.front());
  }
}

// The body when it is of the kind asked for.
template <class Body>
std::optional<Body> body_as(const Statement& statement) {
  StatementBody body = statement.body();
  if (const Body* found = std::get_if<Body>(&body)) return *found;
  return std::nullopt;
}

// The key's own range: it opens the statement's span.
inline diagnostics::Span key_span(const Statement& statement) {
  return diagnostics::Span{statement.span.file, statement.span.start,
                           statement.span.start + static_cast<std::uint32_t>(statement.key().text().size())};
}

// The byte column of the key, found from the source it was parsed from.
std::uint32_t key_column(const Statement& statement, std::string_view source);

// 56 bytes: a large model holds tens of thousands. The header word and the name are held as
// their starts, the source under their spans giving their texts.
class Block {
 public:
  Block() = default;
  // The texts are the source under their spans.
  Block(std::string_view keyword, std::optional<Name> name, std::span<const Statement> statements,
        diagnostics::Span keyword_span)
      : statements(statements), keyword_span(keyword_span), keyword_text_(keyword.data()) {
    if (!name) return;
    name_text_ = name->text.data();
    name_span_ = name->span;
  }

  // The header word as written.
  std::string_view keyword() const { return {keyword_text_, keyword_span.end - keyword_span.start}; }
  std::optional<Name> name() const {
    if (name_text_ == nullptr) return std::nullopt;
    return Name{std::string_view(name_text_, name_span_.end - name_span_.start), name_span_};
  }
  // From the header word to the end of the last statement, or else of the name.
  diagnostics::Span span() const {
    diagnostics::Span last = !statements.empty() ? statements.back().span : name_text_ ? name_span_ : keyword_span;
    return diagnostics::Span::join(keyword_span, last);
  }

  std::span<const Statement> statements;  // top level only
  diagnostics::Span keyword_span;

 private:
  // In this order the fields pack after the spans.
  diagnostics::Span name_span_;
  const char* keyword_text_ = "";
  const char* name_text_ = nullptr;  // null without a name
};

static_assert(sizeof(Block) <= 56, "a block record grows every large model's tree");

// The tree's texts are slices of the source text it was parsed from, which must outlive it; its
// nodes live in its arena.
struct ParseOutput {
  std::vector<Block> blocks;
  diagnostics::Diagnostics diagnostics;  // the lexer's, then the parser's, each in the order found
  Arena arena;
};

}  // namespace ovm::syntax
