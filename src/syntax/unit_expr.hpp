#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "diagnostics/span.hpp"

namespace ovm::syntax {

// How a unit factor joins the one before it.
enum class UnitOp : std::uint8_t { First = 0, Times = 1, Divide = 2 };

struct UnitFactor {
  std::string_view symbol;    // the unit name as written, or "1" as in 1/s
  std::int32_t exponent = 1;  // 1 when no power, or no integer power, is written
  UnitOp op = UnitOp::First;

  friend bool operator==(const UnitFactor&, const UnitFactor&) = default;
};

// A unit written at the end of a statement. Its factors are read to know it for a unit but not
// kept: the checks and lowering go by the text.
class UnitExpr {
 public:
  UnitExpr() = default;
  UnitExpr(std::string_view text, diagnostics::Span span)
      : span(span), text_size_(static_cast<std::uint32_t>(text.size())), text_(text.data()) {}

  // The source text without white space: mol / kgw gives mol/kgw. A slice of the source when
  // it holds no white space, otherwise a copy in the tree's arena.
  std::string_view text() const { return {text_, text_size_}; }

  diagnostics::Span span;

 private:
  // In this order the fields pack after the span.
  std::uint32_t text_size_ = 0;
  const char* text_ = "";
};

static_assert(sizeof(UnitExpr) <= 24, "a unit record grows every large model's tree");

}  // namespace ovm::syntax
