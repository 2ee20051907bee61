#include "sema/validate_reference_value.hpp"

#include <span>

#include "diagnostics/message_number.hpp"
#include "diagnostics/message_text.hpp"
#include "sema/builtins.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::ValueKind;

void check_name(ValidationContext& context, const syntax::Value& value, std::string_view kind,
                std::string_view resolved_as) {
  std::string_view text = value_text(value);
  bool builtin = is_builtin_name(text);
  if (!builtin && resolved_as == kind) return;
  const Symbol* found = lookup_global(*context.symbols, text);
  if (found == nullptr) {
    // Resolution reported an unknown name unless it took it for a built-in one.
    if (builtin) push_diagnostic(context.diagnostics, no_entity_named(*context.symbols, value.span, kind, text));
    return;
  }
  if (is_entity_of(*found, kind)) return;
  push_diagnostic(context.diagnostics, not_of_kind(value.span, *found, kind));
}

}  // namespace

std::string written_text(const syntax::Value& value) {
  if (std::optional<double> number = value_number(value)) return diagnostics::message_number_text(*number);
  if (value.kind == syntax::ValueKind::Qualified) {
    std::string joined;
    for (std::string_view part : value.parts()) {
      if (!joined.empty()) joined += '.';
      joined += part;
    }
    return joined;
  }
  return std::string(value_text(value));
}

void check_reference_value(ValidationContext& context, const syntax::Value& value, std::string_view kind,
                           std::string_view resolved_as) {
  if (context.symbols == nullptr) return;
  bool species = kind == "Species";
  if (value.kind == ValueKind::Identifier) return check_name(context, value, kind, resolved_as);
  if (species && value.kind == ValueKind::Species) return;
  bool name_like = value.kind == ValueKind::Species || value.kind == ValueKind::Qualified;
  if (!species && name_like) {
    push_diagnostic(context.diagnostics, no_entity_named(*context.symbols, value.span, kind, written_text(value)));
    return;
  }
  std::string label =
      diagnostics::fill_message("expected {}, found {}", {species ? "species" : "a name", syntax::display_name(value.kind)});
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, value.span).with_label(label));
}

}  // namespace ovm::sema
