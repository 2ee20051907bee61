#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/message_number.hpp"
#include "diagnostics/message_text.hpp"
#include "sema/validate_block_rules.hpp"
#include "sema/validate_endpoints.hpp"
#include "sema/validate_ranges.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::ValueKind;

// A mixing fraction is a share of the product: 0 to 1, and all of them sum to 1.
constexpr double fraction_min = 0.0;
constexpr double fraction_max = 1.0;
constexpr double fraction_sum_tolerance = 1e-06;

struct Endpoint {
  std::string_view text;  // empty for a first value that names no substance
  const syntax::Value* value = nullptr;
};

// The first statement of the key gives the endpoint, when it has a value.
std::optional<Endpoint> endpoint(const syntax::Block& block, std::string_view key) {
  auto found = std::find_if(block.statements.begin(), block.statements.end(),
                            [&](const syntax::Statement& statement) { return key_is(statement, key); });
  if (found == block.statements.end()) return std::nullopt;
  const syntax::Value* first = first_value(*found);
  if (first == nullptr) return std::nullopt;
  bool names = first->kind == ValueKind::Identifier || first->kind == ValueKind::Species;
  return Endpoint{names ? value_text(*first) : std::string_view{}, first};
}

void check_self_transfer(ValidationContext& context, const syntax::Block& block) {
  std::optional<Endpoint> reactant = endpoint(block, "reactant");
  std::optional<Endpoint> product = endpoint(block, "product");
  if (!reactant || !product || reactant->text.empty() || reactant->text != product->text) return;
  self_transfer_diagnostic(context, product->value->span);
}

struct SourceFraction {
  double fraction;
  diagnostics::Span value_span;
};

void check_mixing(ValidationContext& context, const VariantSpec& variant, const syntax::Block& block) {
  std::size_t count = 0;
  const syntax::Statement* last_source = nullptr;
  std::vector<SourceFraction> fractions;
  for (const syntax::Statement& statement : block.statements) {
    if (!key_is(statement, "source")) continue;
    ++count;
    last_source = &statement;
    const std::optional<syntax::ValuesBody> body = values_body(statement);
    if (!body || body->values.size() < 2) continue;
    if (std::optional<double> fraction = value_number(body->values[1])) {
      fractions.push_back(SourceFraction{*fraction, body->values[1].span});
    }
  }
  if (variant.min_sources && count < *variant.min_sources) {
    std::string label = diagnostics::fill_message("mixing needs at least {} sources, found {}",
                                     {std::to_string(*variant.min_sources), std::to_string(count)});
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV211, anchor_span(block)).with_label(label));
  }
  for (const SourceFraction& source : fractions) {
    check_bounds(context, "source", source.fraction, fraction_min, fraction_max, source.value_span);
  }
  // The sum means something only when every source gives its fraction as a number.
  if (fractions.empty() || fractions.size() != count) return;
  double sum = -0.0;
  for (const SourceFraction& source : fractions) sum += source.fraction;
  if (!(std::fabs(sum - 1.0) > fraction_sum_tolerance)) return;
  push_diagnostic(context.diagnostics,
                  Diagnostic(DiagnosticCode::OV215, last_source->span)
                      .with_label(diagnostics::fill_message("source fractions sum to {}, not 1", {diagnostics::message_number_text(sum)})));
}

}  // namespace

void self_transfer_diagnostic(ValidationContext& context, diagnostics::Span span) {
  push_diagnostic(context.diagnostics,
                  Diagnostic(DiagnosticCode::OV214, span)
                      .with_label("a process whose product is its own reactant transfers nothing"));
}

void check_process_rules(ValidationContext& context, const VariantSpec& variant, const syntax::Block& block) {
  check_self_transfer(context, block);
  check_process_endpoints(context, variant, block);
  if (variant.counts_sources) check_mixing(context, variant, block);
}

}  // namespace ovm::sema
