#pragma once

#include <span>
#include <string>

#include "cli/console.hpp"
#include "sema/profile.hpp"

namespace ovm::cli {

// Reports the diagnostics of each file and a count line.
int cmd_check(std::span<const std::string> positionals, sema::Profile profile, Console& console);

// Prints the syntax tree of the first file (listing or JSON) and its diagnostics.
int cmd_parse(std::span<const std::string> positionals, bool json, sema::Profile profile, Console& console);

}  // namespace ovm::cli
