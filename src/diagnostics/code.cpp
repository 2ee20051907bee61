#include "diagnostics/code.hpp"

#include <array>

#include "diagnostics/internal_error.hpp"

namespace ovm::diagnostics {
namespace {

struct CatalogueEntry {
  std::string_view text;
  std::string_view title;
  Severity severity;
  Phase phase;
};

constexpr std::array<CatalogueEntry, DiagnosticCode::count> catalogue = {{
#define OVM_DIAGNOSTIC(code, title, severity, phase) {#code, title, Severity::severity, Phase::phase},
#include "diagnostics/codes.def"
#undef OVM_DIAGNOSTIC
}};

constexpr char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const CatalogueEntry& entry(DiagnosticCode code) { return catalogue[code.index()]; }

}  // namespace

std::string_view as_str(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string_view as_str(Phase phase) {
  switch (phase) {
    case Phase::Syntax: return "syntax";
    case Phase::Semantic: return "semantic";
    case Phase::Validation: return "validation";
    case Phase::Execution: return "execution";
    case Phase::Backend: return "backend";
  }
  internal_error("phase out of range");
}

DiagnosticCode DiagnosticCode::from_index(std::size_t index) {
  if (index >= count) internal_error("diagnostic code index out of range");
  return DiagnosticCode(static_cast<Value>(index));
}

std::optional<DiagnosticCode> DiagnosticCode::parse(std::string_view text) {
  if (text.size() != 5) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i) {
    std::string_view code = catalogue[i].text;
    bool same = true;
    for (std::size_t k = 0; k < 5 && same; ++k) same = fold(code[k]) == fold(text[k]);
    if (same) return from_index(i);
  }
  return std::nullopt;
}

std::string_view DiagnosticCode::as_str() const { return entry(*this).text; }
std::string_view DiagnosticCode::title() const { return entry(*this).title; }
Severity DiagnosticCode::severity() const { return entry(*this).severity; }
Phase DiagnosticCode::phase() const { return entry(*this).phase; }

}  // namespace ovm::diagnostics
