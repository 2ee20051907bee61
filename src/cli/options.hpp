#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "cli/command_table.hpp"
#include "sema/profile.hpp"

namespace ovm::cli {

struct CliOptions {
  std::vector<std::string> positionals;
  std::optional<std::string> output;
  bool json = false;
  bool check = false;
  sema::Profile profile = sema::Profile::Core;
};

// The message of the first invocation error, printed as given with a newline.
struct OptionError {
  std::string message;
};

// Reads the arguments after the command word: options the command accepts and positionals.
std::variant<CliOptions, OptionError> parse_options(const CommandSpec& command, std::span<const std::string> args);

}  // namespace ovm::cli
