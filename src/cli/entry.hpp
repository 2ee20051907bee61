#pragma once

#include <span>
#include <string>

#include "cli/console.hpp"

namespace ovm::cli {

// The program as the shell sees it: the arguments after the program name, and the exit
// status to end with (0 to 3).
int run_ovm(std::span<const std::string> args, Console& console);

}  // namespace ovm::cli
