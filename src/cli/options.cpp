#include "cli/options.hpp"

#include "diagnostics/utf8.hpp"

namespace ovm::cli {

std::variant<CliOptions, OptionError> parse_options(const CommandSpec& command, std::span<const std::string> args) {
  CliOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o" && command.accepts_output) {
      if (i + 1 == args.size()) return OptionError{"-o needs a path"};
      options.output = args[++i];
    } else if (arg == "--profile" && command.accepts_profile) {
      if (i + 1 == args.size()) return OptionError{"--profile needs a name"};
      const std::string& name = args[++i];
      std::optional<sema::Profile> profile = sema::parse_profile_name(name);
      if (!profile) {
        return OptionError{"unknown profile " + diagnostics::display_text(name) + ", expected core, identification or extended"};
      }
      options.profile = *profile;
    } else if (arg == "--json" && command.accepts_json) {
      options.json = true;
    } else if (arg == "--check" && command.accepts_check) {
      options.check = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return OptionError{"unknown option " + diagnostics::display_text(arg) + " for this command"};
    } else {
      options.positionals.push_back(arg);
    }
  }
  return options;
}

}  // namespace ovm::cli
