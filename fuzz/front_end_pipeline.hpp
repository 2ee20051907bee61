#pragma once

#include <cstddef>
#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// What `ovm check` does to one file, from any bytes: lex, parse, the semantic checks when the
// parse found no error, the reserved-block warnings, sorting and rendering every diagnostic.
// Returns the number of diagnostics rendered.
std::size_t run_front_end(std::string_view bytes);

// Formatting twice must give what formatting once gave.
Finding check_format_idempotent(std::string_view bytes);

}  // namespace ovm::fuzz
