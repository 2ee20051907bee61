#include <array>

#include "diagnostics/message_text.hpp"
#include "diagnostics/text_match.hpp"
#include "sema/block_table.hpp"
#include "sema/resolve_passes.hpp"
#include "sema/suggest.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;

// A statement key written at column 0 reads as a header; saying so helps more than a
// suggestion of block names.
bool is_any_statement_key(std::string_view word) {
  for (const BlockSpec& kind : block_table) {
    for (const PropertySpec& property : kind.properties) {
      if (diagnostics::equals_ascii_folded(property.key, word)) return true;
    }
  }
  return false;
}

void report_unknown_header(const syntax::Block& block, diagnostics::Diagnostics& out) {
  if (is_any_statement_key(block.keyword())) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV004, block.keyword_span)
                             .with_label("this is a statement key, not a block header")
                             .with_help("indent it to attach it to the block above"));
    return;
  }
  push_diagnostic(out, Diagnostic(DiagnosticCode::OV003, block.keyword_span)
                           .with_label("unknown block")
                           .with_help(unknown_name_help(block.keyword(), block_keywords)));
}

bool starts_lower_ascii(std::string_view name) { return !name.empty() && name.front() >= 'a' && name.front() <= 'z'; }

void check_identifier(const syntax::Block& block, const BlockSpec& kind, diagnostics::Diagnostics& out) {
  if (!block.name()) {
    if (kind.takes_identifier) {
      push_diagnostic(out, Diagnostic(DiagnosticCode::OV009, block.keyword_span)
                               .with_label(diagnostics::fill_message("`{}` needs a name on its header line", {kind.name})));
    }
    return;
  }
  if (!kind.takes_identifier) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV001, block.name()->span)
                             .with_label(diagnostics::fill_message("`{}` takes no identifier", {kind.name})));
    return;
  }
  if (starts_lower_ascii(block.name()->text)) {
    push_diagnostic(out, Diagnostic(DiagnosticCode::OV010, block.name()->span)
                             .with_label("entity names are capitalised, keywords are not"));
  }
}

}  // namespace

void resolve_headers(const syntax::ParseOutput& tree, Profile profile, Resolution& resolution) {
  diagnostics::Diagnostics& out = resolution.diagnostics;
  std::array<bool, block_table.size()> seen{};  // by place in the block table
  resolution.blocks.reserve(tree.blocks.size());
  for (const syntax::Block& block : tree.blocks) {
    const BlockSpec* kind = find_block_spec(block.keyword());
    if (!kind) {
      report_unknown_header(block, out);
      resolution.blocks.push_back(BlockResolution{});
      continue;
    }
    // An equality test: the extended profile does not admit the identification kinds.
    if (!admits(profile, kind->profile)) {
      push_diagnostic(
          out, Diagnostic(DiagnosticCode::OV005, block.keyword_span)
                   .with_label(diagnostics::fill_message("`{}` belongs to the {} profile", {kind->name, as_str(kind->profile)})));
    }
    bool& kind_seen = seen[static_cast<std::size_t>(kind - block_table.data())];
    if (!kind->repeatable && kind_seen) {
      push_diagnostic(out, Diagnostic(DiagnosticCode::OV105, block.keyword_span)
                               .with_label(diagnostics::fill_message("`{}` may appear only once", {kind->name})));
    }
    kind_seen = true;
    check_identifier(block, *kind, out);
    // The name is kept even where the kind takes none.
    resolution.blocks.push_back(BlockResolution{kind});
  }
}

}  // namespace ovm::sema
