#include "cli/fmt_command.hpp"

#include <variant>

#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "syntax/format.hpp"

namespace ovm::cli {

int cmd_fmt(std::span<const std::string> positionals, bool check, Console& console) {
  if (positionals.empty()) {
    write_err(console, "fmt needs at least one file\n");
    return 2;
  }
  bool any_differs = false;
  for (const std::string& path : positionals) {
    std::string shown = diagnostics::display_text(path);
    auto read = diagnostics::read_text_file(path);
    if (const auto* failure = std::get_if<diagnostics::FileError>(&read)) {
      write_err(console, shown + ": " + failure->reason + "\n");
      return 2;
    }
    const std::string& text = std::get<std::string>(read);
    std::string canonical = syntax::format_source(text);
    if (canonical == text) continue;

    any_differs = true;
    if (check) {
      write_out(console, shown + ": not canonically formatted\n");
      continue;
    }
    if (auto failure = diagnostics::replace_file(path, canonical)) {
      write_err(console, shown + ": " + failure->reason + "\n");
      return 2;
    }
    write_out(console, shown + ": reformatted\n");
  }
  return check && any_differs ? 1 : 0;
}

}  // namespace ovm::cli
