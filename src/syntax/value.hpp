#pragma once

#include <cstdint>
#include <string_view>
#include <span>

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

// 24 bytes: a large model holds one or more per line. The text of every kind that has one is
// the source under the span (a string's without its quotes), so a start is enough to hold it.
class Value {
 public:
  Value() = default;
  // The text as written, a slice of the source covering the span; for a string, its text
  // without the quotes.
  Value(std::string_view text, diagnostics::Span span, ValueKind kind) : span(span), kind(kind) { payload_.text = text.data(); }
  Value(double number, diagnostics::Span span) : span(span), kind(ValueKind::Number) { payload_.number = number; }
  // The dotted parts, at least two, held where they last as long as the tree.
  Value(const std::span<const std::string_view>* parts, diagnostics::Span span) : span(span), kind(ValueKind::Qualified) {
    payload_.parts = parts;
  }

  // The text as written for most kinds (a string without its quotes, an unreadable value its
  // source text); empty for a number and a qualified name.
  std::string_view text() const {
    if (kind == ValueKind::Number || kind == ValueKind::Qualified) return {};
    std::uint32_t quotes = kind == ValueKind::String ? 2 : 0;
    return std::string_view(payload_.text, span.end - span.start - quotes);
  }
  // The float of a number; 0 for any other kind.
  double number() const { return kind == ValueKind::Number ? payload_.number : 0; }
  // The dotted parts of a qualified name; empty for any other kind.
  std::span<const std::string_view> parts() const {
    return kind == ValueKind::Qualified ? *payload_.parts : std::span<const std::string_view>{};
  }
  bool has_text() const { return kind != ValueKind::Number && kind != ValueKind::Qualified; }

 private:
  union Payload {
    const char* text = "";
    double number;
    const std::span<const std::string_view>* parts;
  };
  Payload payload_;

 public:
  diagnostics::Span span;
  ValueKind kind = ValueKind::Identifier;
};

static_assert(sizeof(Value) <= 24, "a value record grows every large model's tree");

}  // namespace ovm::syntax
