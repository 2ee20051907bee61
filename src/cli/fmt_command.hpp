#pragma once

#include <span>
#include <string>

#include "cli/console.hpp"

namespace ovm::cli {

// Rewrites each file in canonical form, or with `check` only reports the files that differ.
int cmd_fmt(std::span<const std::string> positionals, bool check, Console& console);

}  // namespace ovm::cli
