#include "cli/command_table.hpp"

namespace ovm::cli {
namespace {

constexpr std::string_view usage_template =
    "usage: ovm <command> [options] <file>...\n"
    "\n"
    "  --version               print the version and exit\n"
    "  --help                  print this text, or a command's own\n"
    "\n"
    "commands:\n"
    "{commands}\n"
    "\n"
    "`ovm <command> --help` lists the options that command accepts.\n"
    "\n"
    "exit codes:\n"
    "  0  no errors\n"
    "  1  the source has errors, or fmt --check found a difference\n"
    "  2  bad invocation, or a file could not be read\n"
    "  3  this program has a defect and produced nothing trustworthy\n";

constexpr std::string_view commands_placeholder = "{commands}";

}  // namespace

const CommandSpec* find_command(std::string_view word) {
  for (const CommandSpec& command : command_table) {
    if (command.name == word) return &command;
  }
  return nullptr;
}

std::string command_line(const CommandSpec& command, std::size_t width) {
  std::string joined = std::string(command.name) + " " + std::string(command.arguments);
  if (joined.size() < width) joined.append(width - joined.size(), ' ');
  return "  " + joined + "  " + std::string(command.description);
}

std::string usage_text() {
  std::string lines;
  for (const CommandSpec& command : command_table) {
    if (!lines.empty()) lines += '\n';
    lines += command_line(command, usage_name_width);
  }
  std::string text(usage_template);
  text.replace(text.find(commands_placeholder), commands_placeholder.size(), lines);
  return text;
}

std::string command_help(const CommandSpec& command) {
  std::string text = "usage: ovm " + std::string(command.name) + " [options] " + std::string(command.arguments) + "\n";
  text += "\n";
  text += command.description;
  text += "\n\noptions:\n";
  if (command.accepts_profile) {
    text += "  --profile <name>   core, identification or extended. Default core\n";
    text += "                     Core is always accepted whatever else is declared\n";
  }
  if (command.accepts_output) text += "  -o <path>          write here instead of beside the input\n";
  if (command.accepts_json) text += "  --json             machine-readable output\n";
  if (command.accepts_check) text += "  --check            report a difference instead of rewriting\n";
  text += "  --help             print this text and exit\n";
  return text;
}

}  // namespace ovm::cli
