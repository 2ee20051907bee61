#include "engine/simulation/distinct_diagnostics.hpp"

#include <string>
#include <unordered_set>

namespace ovm::engine {

void drop_repeated_diagnostics(std::vector<ir::ResultsDiagnostic>& diagnostics) {
  std::unordered_set<std::string> seen;
  std::size_t kept = 0;
  for (ir::ResultsDiagnostic& diagnostic : diagnostics) {
    // The code and severity hold no NUL, so the joined text tells every triple apart.
    std::string key = diagnostic.code + '\0' + diagnostic.severity + '\0' + diagnostic.message;
    if (!seen.insert(std::move(key)).second) continue;
    if (&diagnostics[kept] != &diagnostic) diagnostics[kept] = std::move(diagnostic);
    ++kept;
  }
  diagnostics.resize(kept);
}

}  // namespace ovm::engine
