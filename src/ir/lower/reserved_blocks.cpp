#include "ir/lower/reserved_blocks.hpp"

#include "sema/block_table.hpp"

namespace ovm::ir {

std::optional<ReservedBlock> is_reserved_block(const syntax::Block& block) {
  // The kind is found under case folding; the upper-case text is made only for a reserved one.
  const sema::BlockSpec* spec = sema::find_block_spec(block.keyword());
  if (spec == nullptr || spec->implemented) return std::nullopt;
  std::string keyword(block.keyword());
  for (char& c : keyword) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return ReservedBlock{std::move(keyword), block.keyword_span};
}

std::vector<ReservedBlock> collect_reserved_blocks(const std::vector<syntax::Block>& blocks) {
  std::vector<ReservedBlock> reserved;
  for (const syntax::Block& block : blocks) {
    if (auto entry = is_reserved_block(block)) reserved.push_back(std::move(*entry));
  }
  return reserved;
}

diagnostics::Diagnostics reserved_block_notes(const std::vector<syntax::Block>& blocks, sema::Profile profile) {
  diagnostics::Diagnostics notes;
  for (const ReservedBlock& entry : collect_reserved_blocks(blocks)) {
    const sema::BlockSpec* spec = sema::find_block_spec(entry.keyword);
    if (spec->profile != sema::Profile::Core && spec->profile != profile) continue;
    notes.push_back(diagnostics::Diagnostic(diagnostics::DiagnosticCode::OV011, entry.keyword_span)
                        .with_label("`" + entry.keyword + "` is a reserved name whose statements are not specified yet")
                        .with_help("nothing inside it is checked, and nothing reads it"));
  }
  return notes;
}

}  // namespace ovm::ir
