#include "cli/check_command.hpp"

#include <variant>

#include "cli/source_check.hpp"
#include "cli/tree_json.hpp"
#include "diagnostics/render.hpp"
#include "diagnostics/utf8.hpp"
#include "syntax/parser.hpp"

namespace ovm::cli {
namespace {

std::string count_line(std::size_t errors, std::size_t warnings) {
  if (errors > 0 && warnings > 0) return std::to_string(errors) + " error(s), " + std::to_string(warnings) + " warning(s)\n";
  if (errors > 0) return std::to_string(errors) + " error(s)\n";
  if (warnings > 0) return std::to_string(warnings) + " warning(s)\n";
  return "no diagnostics\n";
}

std::string listing(const syntax::ParseOutput& tree) {
  std::string out;
  for (const syntax::Block& block : tree.blocks) {
    out += block.keyword();
    out += ' ';
    if (block.name()) out += block.name()->text;
    out += '\n';
    for (const syntax::Statement& statement : block.statements) {
      out += "    ";
      out += statement.key().debug_text();
      out += '\n';
    }
  }
  return out;
}

}  // namespace

int cmd_check(std::span<const std::string> positionals, sema::Profile profile, Console& console) {
  if (positionals.empty()) {
    write_err(console, "check needs at least one file\n");
    return 2;
  }
  diagnostics::SourceMap sources;
  std::size_t errors = 0;
  std::size_t warnings = 0;
  for (const std::string& path : positionals) {
    std::optional<std::string> text = read_source(path, console);
    if (!text) return 2;
    std::uint32_t id = sources.add(diagnostics::display_text(path), std::move(*text));
    syntax::ParseOutput tree = syntax::parse_source(sources.file(id).text, id);
    for (const diagnostics::Diagnostic& d : file_diagnostics(tree, profile, true)) {
      write_out(console, diagnostics::render_diagnostic(sources, d) + "\n");
      ++(d.is_error() ? errors : warnings);
    }
  }
  write_out(console, count_line(errors, warnings));
  return errors > 0 ? 1 : 0;
}

int cmd_parse(std::span<const std::string> positionals, bool json, sema::Profile profile, Console& console) {
  std::optional<ParsedSource> parsed = parse_first_file(positionals, "parse", console);
  if (!parsed) return 2;
  const syntax::ParseOutput& tree = parsed->tree;
  diagnostics::Diagnostics list = file_diagnostics(tree, profile, false);

  write_out(console, json ? tree_to_json(tree.blocks, parsed->text()) : listing(tree));
  for (const diagnostics::Diagnostic& d : list) {
    write_err(console, diagnostics::render_diagnostic(parsed->sources, d) + "\n");
  }
  return diagnostics::has_errors(list) ? 1 : 0;
}

}  // namespace ovm::cli
