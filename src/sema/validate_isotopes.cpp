#include "sema/validate_isotopes.hpp"

#include <string>
#include <variant>

#include "diagnostics/message_text.hpp"
#include "sema/isotope.hpp"
#include "sema/validate_facts.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

std::string isotope_text(const Isotope& isotope) { return std::to_string(isotope.mass) + isotope.symbol; }

// The denominator plays no part: delta53Cr is measured on 53Cr/52Cr and on 53Cr/50Cr alike.
const DeclaredRatio* ratio_for(const ValidationContext& context, const Isotope& isotope) {
  return find_declared_ratio(context, ratio_key(isotope.symbol, isotope.mass), isotope.symbol, isotope.mass);
}

bool standard_resolves(const ValidationContext& context, const DeclaredRatio& declared) {
  return declared.standard && is_declared_standard(context, *declared.standard);
}

}  // namespace

void check_ratio_elements(ValidationContext& context, std::string_view text, diagnostics::Span span) {
  RatioParse parsed = parse_ratio(text);
  const auto* error = std::get_if<RatioError>(&parsed);
  if (error == nullptr || error->kind != RatioError::Kind::DifferentElements) return;
  std::string label = diagnostics::fill_message("`{}` and `{}` are different elements", {error->first, error->second});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV104, span).with_label(label));
}

void check_fractionation_isotope(ValidationContext& context, const syntax::Statement& statement) {
  const syntax::Value* first = first_value(statement);
  if (!is_kind(first, syntax::ValueKind::Ratio)) return;
  std::string_view text = value_text(*first);
  RatioParse parsed = parse_ratio(text);
  const auto* ratio = std::get_if<IsotopeRatio>(&parsed);
  if (ratio == nullptr) return;  // reported by the ratio check
  const DeclaredRatio* same = nullptr;
  for (const DeclaredRatio& declared : context.ratios) {
    if (declared.notation == text) return;
    if (same == nullptr && declared.ratio == *ratio) same = &declared;
  }
  Diagnostic diagnostic = Diagnostic(DiagnosticCode::OV101, first->span)
                              .with_label(diagnostics::fill_message("no ratio `{}` is declared", {text}));
  diagnostic = same != nullptr
                   ? std::move(diagnostic).with_help(diagnostics::fill_message("ISOTOPES declares it as `{}`", {same->notation}))
                   : std::move(diagnostic).with_help("declare it in ISOTOPES before fractionating it");
  push_diagnostic(context.diagnostics, std::move(diagnostic));
}

void check_delta_composition(ValidationContext& context, const syntax::Statement& statement) {
  std::optional<Isotope> isotope = parse_delta_name(statement.key().text());
  if (!isotope) return;
  const DeclaredRatio* declared = ratio_for(context, *isotope);
  if (declared == nullptr) {
    push_diagnostic(context.diagnostics,
                    Diagnostic(DiagnosticCode::OV101, key_span(statement))
                        .with_label(diagnostics::fill_message("no ratio for {} is declared", {isotope_text(*isotope)}))
                        .with_help("declare it in ISOTOPES before giving a composition"));
    return;
  }
  // Only the first declaration of the ratio is consulted. A database may supply the
  // standard, and relative values need none.
  if (standard_resolves(context, *declared) || context.has_database || context.relative_mode) return;
  push_diagnostic(context.diagnostics,
                  Diagnostic(DiagnosticCode::OV106, key_span(statement))
                      .with_label(diagnostics::fill_message("no reference standard resolves for {}", {isotope_text(*isotope)}))
                      .with_help("a delta is meaningless without the standard it is measured against"));
}

}  // namespace ovm::sema
