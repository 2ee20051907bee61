#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/code.hpp"
#include "diagnostics/span.hpp"

namespace ovm::diagnostics {

struct Note {
  std::optional<std::string> message;
  Span span;
};

struct Diagnostic {
  DiagnosticCode code;
  Span span;
  std::optional<std::string> label;
  std::vector<Note> notes;
  std::optional<std::string> help;

  Diagnostic(DiagnosticCode code_, Span span_) : code(code_), span(span_) {}

  // Builders, chained on a fresh diagnostic: Diagnostic(code, span).with_label("...").
  Diagnostic with_label(std::string_view text) &&;
  Diagnostic with_help(std::string_view text) &&;
  Diagnostic with_note(Span note_span, std::string_view text) &&;

  bool is_error() const { return code.is_error(); }
};

using Diagnostics = std::vector<Diagnostic>;

void push_diagnostic(Diagnostics& list, Diagnostic diagnostic);
void append_diagnostics(Diagnostics& list, Diagnostics&& other);
bool has_errors(const Diagnostics& list);

// Stable sort by (file, start, code index), then drop each diagnostic equal to the last one
// kept in code, file, start and end.
Diagnostics sort_and_dedup(Diagnostics list);

}  // namespace ovm::diagnostics
