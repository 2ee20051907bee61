#include "cli/entry.hpp"

#include <variant>

#include "cli/build_command.hpp"
#include "cli/check_command.hpp"
#include "cli/command_table.hpp"
#include "diagnostics/utf8.hpp"
#include "cli/explain.hpp"
#include "cli/fmt_command.hpp"
#include "cli/options.hpp"
#include "cli/run_command.hpp"
#include "cli/version.hpp"

namespace ovm::cli {
namespace {

bool is_help_flag(std::string_view arg) { return arg == "-h" || arg == "--help"; }

int dispatch(const CommandSpec& command, const CliOptions& options, Console& console) {
  if (command.name == "check") return cmd_check(options.positionals, options.profile, console);
  if (command.name == "parse") return cmd_parse(options.positionals, options.json, options.profile, console);
  if (command.name == "build") return cmd_build(options.positionals, options.output, options.profile, console);
  if (command.name == "run") return cmd_run(options.positionals, options.output, console);
  if (command.name == "fmt") return cmd_fmt(options.positionals, options.check, console);
  if (command.name == "explain") return cmd_explain(options.positionals, console);
  write_err(console, std::string(command.name) + " is accepted by the option table and handled nowhere\n");
  return 3;
}

}  // namespace

int run_ovm(std::span<const std::string> args, Console& console) {
  if (args.empty()) {
    write_out(console, usage_text());
    return 0;
  }
  const std::string& first = args[0];
  if (is_help_flag(first)) {
    write_out(console, usage_text());
    return 0;
  }
  if (first == "-V" || first == "--version") {
    write_out(console, std::string(program_version) + "\n");
    return 0;
  }

  const CommandSpec* command = find_command(first);
  if (command == nullptr) {
    write_err(console, "unknown command " + diagnostics::display_text(first) + "\n\n" + usage_text());
    return 2;
  }

  std::span<const std::string> rest = args.subspan(1);
  for (const std::string& arg : rest) {
    if (is_help_flag(arg)) {
      write_out(console, command_help(*command));
      return 0;
    }
  }

  auto parsed = parse_options(*command, rest);
  if (const auto* error = std::get_if<OptionError>(&parsed)) {
    write_err(console, error->message + "\n");
    return 2;
  }
  return dispatch(*command, std::get<CliOptions>(parsed), console);
}

}  // namespace ovm::cli
