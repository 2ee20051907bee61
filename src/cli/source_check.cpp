#include "cli/source_check.hpp"

#include <variant>

#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "ir/lower/reserved_blocks.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::cli {

diagnostics::Diagnostics file_diagnostics(const syntax::ParseOutput& tree, sema::Profile profile,
                                          bool with_reserved_notes) {
  diagnostics::Diagnostics list = tree.diagnostics;
  if (!diagnostics::has_errors(list)) {
    sema::Analysis analysis = sema::analyze(tree, profile);
    diagnostics::append_diagnostics(list, std::move(analysis.diagnostics));
    if (with_reserved_notes) diagnostics::append_diagnostics(list, ir::reserved_block_notes(tree.blocks, profile));
  }
  return diagnostics::sort_and_dedup(std::move(list));
}

std::optional<std::string> read_source(const std::string& path, Console& console) {
  auto read = diagnostics::read_text_file(path);
  if (const auto* failure = std::get_if<diagnostics::FileError>(&read)) {
    write_err(console, diagnostics::display_text(path) + ": " + failure->reason + "\n");
    return std::nullopt;
  }
  return std::move(std::get<std::string>(read));
}

std::optional<ParsedSource> parse_first_file(std::span<const std::string> positionals, std::string_view command,
                                             Console& console) {
  if (positionals.empty()) {
    write_err(console, std::string(command) + " needs a file\n");
    return std::nullopt;
  }
  const std::string& path = positionals[0];
  std::optional<std::string> text = read_source(path, console);
  if (!text) return std::nullopt;
  std::optional<ParsedSource> parsed(std::in_place);
  parsed->id = parsed->sources.add(diagnostics::display_text(path), std::move(*text));
  parsed->tree = syntax::parse_source(parsed->text(), parsed->id);
  return parsed;
}

}  // namespace ovm::cli
