#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/console.hpp"
#include "diagnostics/code.hpp"

namespace ovm::cli {

struct Explanation {
  diagnostics::DiagnosticCode code;
  std::string_view explanation;
  std::string_view rejected;  // empty: the code has no examples
  std::string_view accepted;
};

const Explanation& explanation_of(diagnostics::DiagnosticCode code);

// The whole text `ovm explain <code>` prints.
std::string explain_text(diagnostics::DiagnosticCode code);

int cmd_explain(std::span<const std::string> positionals, Console& console);

}  // namespace ovm::cli
