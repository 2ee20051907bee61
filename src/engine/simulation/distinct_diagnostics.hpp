#pragma once

#include <vector>

#include "ir/results/results_file.hpp"

namespace ovm::engine {

// Drops every diagnostic whose code, severity and message equal an earlier one's; the first
// of each keeps its place. A long run repeats the same note at every step, and one is enough.
void drop_repeated_diagnostics(std::vector<ir::ResultsDiagnostic>& diagnostics);

}  // namespace ovm::engine
