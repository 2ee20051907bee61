#include "sema/validate_block_rules.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

// Whether a statement was found for a property with this key; keys may repeat in a kind's list.
bool is_present(const BlockState& state, const BlockSpec& kind, std::string_view key) {
  for (std::uint64_t bits = state.present_properties; bits != 0; bits &= bits - 1) {
    if (diagnostics::same_text(kind.properties[static_cast<std::size_t>(std::countr_zero(bits))].key, key)) return true;
  }
  return false;
}

void report_missing(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind,
                    std::string_view key) {
  std::string label = diagnostics::fill_message("`{}` requires `{}`", {kind.name, key});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV211, anchor_span(block)).with_label(label));
}

// A variant states the whole required list; the property table's flags then do not count.
void check_required(ValidationContext& context, const BlockState& state, const syntax::Block& block,
                    const BlockSpec& kind) {
  if (state.variant != nullptr) {
    for (std::string_view key : state.variant->required) {
      if (!is_present(state, kind, key)) report_missing(context, block, kind, key);
    }
    return;
  }
  for (const PropertySpec& property : kind.properties) {
    if (property.required && !is_present(state, kind, property.key)) report_missing(context, block, kind, property.key);
  }
}

void check_recommended(ValidationContext& context, const BlockState& state, const syntax::Block& block,
                       const BlockSpec& kind) {
  for (const PropertySpec& property : kind.properties) {
    if (!property.recommended || is_present(state, kind, property.key)) continue;
    push_diagnostic(context.diagnostics,
                    Diagnostic(DiagnosticCode::OV212, anchor_span(block))
                        .with_label(diagnostics::fill_message("`{}` is recommended for reproducibility", {property.key})));
  }
}

// A model advanced by time runs until its condition holds; without one it never stops.
void check_model_stop(ValidationContext& context, const syntax::Block& block) {
  const auto& statements = block.statements;
  auto progress = std::find_if(statements.begin(), statements.end(),
                               [](const syntax::Statement& statement) { return key_is(statement, "progress"); });
  std::string_view mode = "time";
  if (progress != statements.end()) {
    const syntax::Value* first = first_value(*progress);
    if (is_kind(first, syntax::ValueKind::Identifier)) mode = value_text(*first);
  }
  bool has_until = std::any_of(statements.begin(), statements.end(),
                               [](const syntax::Statement& statement) { return key_is(statement, "until"); });
  if (mode != "time" || has_until) return;
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV211, anchor_span(block))
                                           .with_label("`MODEL` requires `until` when progress is time")
                                           .with_help("or declare `progress extent` to apply the processes in order"));
}

}  // namespace

diagnostics::Span anchor_span(const syntax::Block& block) { return block.name() ? block.name()->span : block.keyword_span; }

void check_block_rules(ValidationContext& context, const BlockState& state, const syntax::Block& block,
                       const BlockSpec& kind) {
  check_required(context, state, block, kind);
  check_recommended(context, state, block, kind);
  if (kind.name == "MODEL") check_model_stop(context, block);
  if (kind.name == "PROCESS" && state.variant != nullptr) check_process_rules(context, *state.variant, block);
}

}  // namespace ovm::sema
