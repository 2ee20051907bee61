#pragma once

#include <cstdint>
#include <string_view>
#include <span>
#include <variant>

#include "diagnostics/span.hpp"

namespace ovm::syntax {

// A text as written with the span it came from: a block name, an assignment target, one part
// of a qualified name. Texts of the tree are slices of the source text, which must outlive it.
struct Name {
  std::string_view text;
  diagnostics::Span span;

  friend bool operator==(const Name&, const Name&) = default;
};

enum class ValueKind : std::uint8_t {
  Identifier = 0,
  Species = 1,
  Delta = 2,
  Ratio = 3,
  Number = 4,
  String = 5,
  Date = 6,
  Qualified = 7,
  Unreadable = 8,
};

// "identifier", "chemical species", ... "unreadable value": the form messages show.
std::string_view display_name(ValueKind kind);

// The kind comes last, where it packs with the span.
struct Value {
  // The text as written for most kinds (a string without its quotes, an unreadable value its
  // source text); the float for a number; the dotted parts, at least two, for a qualified name.
  std::variant<std::string_view, double, std::span<const std::string_view>> payload;
  diagnostics::Span span;
  ValueKind kind = ValueKind::Identifier;
};

}  // namespace ovm::syntax
