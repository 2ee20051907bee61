#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ovm::cli {

struct CommandSpec {
  std::string_view name;
  std::string_view description;
  std::string_view arguments;
  bool accepts_profile;
  bool accepts_output;
  bool accepts_json;
  bool accepts_check;
};

// In the order the usage text lists them.
inline constexpr std::array<CommandSpec, 6> command_table = {{
    {"check", "report diagnostics", "<file>...", true, false, false, false},
    {"parse", "print the syntax tree", "<file>", true, false, true, false},
    {"build", "lower to the intermediate representation", "<file>", true, true, false, false},
    {"run", "execute a lowered model", "<model>", false, true, false, false},
    {"fmt", "rewrite in canonical form, or verify", "<file>...", false, false, false, true},
    {"explain", "describe a diagnostic code", "<code>", false, false, false, false},
}};

inline constexpr std::size_t usage_name_width = 15;

// The command whose name equals `word` byte for byte.
const CommandSpec* find_command(std::string_view word);

// "  <name> <arguments>" padded to `width`, two spaces, the description.
std::string command_line(const CommandSpec& command, std::size_t width);

std::string usage_text();
std::string command_help(const CommandSpec& command);

}  // namespace ovm::cli
