#include "front_end_pipeline.hpp"

#include <cstdlib>
#include <string>

#include "diagnostics/render.hpp"
#include "ir/lower/reserved_blocks.hpp"
#include "sema/analysis.hpp"
#include "syntax/format.hpp"
#include "syntax/parser.hpp"

namespace ovm::fuzz {

std::size_t run_front_end(std::string_view bytes) {
  std::size_t rendered = 0;
  for (sema::Profile profile : {sema::Profile::Core, sema::Profile::Extended}) {
    diagnostics::SourceMap sources;
    std::uint32_t id = sources.add("fuzz.ovm", std::string(bytes));
    syntax::ParseOutput tree = syntax::parse_source(sources.file(id).text, id);
    diagnostics::Diagnostics list = tree.diagnostics;
    if (!diagnostics::has_errors(list)) {
      sema::Analysis analysis = sema::analyze(tree, profile);
      diagnostics::append_diagnostics(list, std::move(analysis.diagnostics));
      diagnostics::append_diagnostics(list, ir::reserved_block_notes(tree.blocks, profile));
    }
    for (const diagnostics::Diagnostic& d : diagnostics::sort_and_dedup(std::move(list))) {
      std::string text = diagnostics::render_diagnostic(sources, d);
      if (text.empty() || text.back() != '\n') std::abort();
      ++rendered;
    }
  }
  return rendered;
}

Finding check_format_idempotent(std::string_view bytes) {
  std::string once = syntax::format_source(bytes);
  if (syntax::format_source(once) != once) return "formatting is not idempotent";
  return std::nullopt;
}

}  // namespace ovm::fuzz
