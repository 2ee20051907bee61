#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ovm::diagnostics {

enum class Severity : std::uint8_t { Warning = 0, Error = 1 };

enum class Phase : std::uint8_t { Syntax = 0, Semantic = 1, Validation = 2, Execution = 3, Backend = 4 };

// Display words: "warning", "error"; "syntax" ... "backend".
std::string_view as_str(Severity severity);
std::string_view as_str(Phase phase);

// A code of the catalogue, stored as its index. Everything else about a code (text, title,
// severity, phase) is looked up in the catalogue.
class DiagnosticCode {
 public:
  enum Value : std::uint8_t {
#define OVM_DIAGNOSTIC(code, title, severity, phase) code,
#include "diagnostics/codes.def"
#undef OVM_DIAGNOSTIC
  };

  static constexpr std::size_t count = 0
#define OVM_DIAGNOSTIC(code, title, severity, phase) +1
#include "diagnostics/codes.def"
#undef OVM_DIAGNOSTIC
      ;

  constexpr DiagnosticCode(Value value) : value_(value) {}

  // The code at a catalogue index; the index must be below `count`.
  static DiagnosticCode from_index(std::size_t index);

  // A text of exactly five bytes equal to a code text under ASCII case folding.
  static std::optional<DiagnosticCode> parse(std::string_view text);

  constexpr std::uint8_t index() const { return value_; }
  constexpr Value value() const { return value_; }

  std::string_view as_str() const;
  std::string_view title() const;
  Severity severity() const;
  Phase phase() const;
  bool is_error() const { return severity() == Severity::Error; }

  friend constexpr bool operator==(DiagnosticCode a, DiagnosticCode b) = default;

 private:
  Value value_;
};

}  // namespace ovm::diagnostics
