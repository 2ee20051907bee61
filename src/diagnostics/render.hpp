#pragma once

#include <string>

#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"

namespace ovm::diagnostics {

// The text a user reads for one diagnostic: header, location, source line with carets and
// label, notes and help. Every line ends with LF.
std::string render_diagnostic(const SourceMap& sources, const Diagnostic& diagnostic);

}  // namespace ovm::diagnostics
