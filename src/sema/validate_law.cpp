#include "sema/validate_law.hpp"

#include <algorithm>

#include "sema/builtins.hpp"
#include "sema/suggest.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {

void check_inline_law(ValidationContext& context, const syntax::NestedBody& law) {
  for (const syntax::Statement& statement : law.statements) {
    bool target = std::any_of(inline_law_target_names.begin(), inline_law_target_names.end(),
                              [&](std::string_view name) { return key_is(statement, name); });
    if (target) continue;
    push_diagnostic(context.diagnostics,
                    diagnostics::Diagnostic(diagnostics::DiagnosticCode::OV210, key_span(statement))
                        .with_label("a law assigns alpha, epsilon or 1000ln_alpha")
                        .with_help(unknown_name_help(statement.key().text(), inline_law_target_names)));
  }
}

}  // namespace ovm::sema
