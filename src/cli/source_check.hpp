#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/console.hpp"
#include "diagnostics/diagnostic.hpp"
#include "diagnostics/span.hpp"
#include "sema/profile.hpp"
#include "syntax/tree.hpp"

namespace ovm::cli {

// The diagnostics of one parsed file, sorted and without repeats: the parse's, then, when the
// parse found no error, the semantic checks' and (for check) the reserved-block warnings.
diagnostics::Diagnostics file_diagnostics(const syntax::ParseOutput& tree, sema::Profile profile,
                                          bool with_reserved_notes);

// The text of a source file, or nothing after reporting on the standard error why it cannot be
// read: "{path}: {reason}".
std::optional<std::string> read_source(const std::string& path, Console& console);

// The one file a command reads, parsed. The tree views the text held by `sources`, whose files
// keep their place when the record is moved.
struct ParsedSource {
  diagnostics::SourceMap sources;
  std::uint32_t id = 0;
  syntax::ParseOutput tree;

  const std::string& text() const { return sources.file(id).text; }
};

// Reads and parses the first positional. Nothing, after reporting on the standard error, when
// there is none ("{command} needs a file") or it cannot be read.
std::optional<ParsedSource> parse_first_file(std::span<const std::string> positionals, std::string_view command,
                                             Console& console);

}  // namespace ovm::cli
