#include <cstddef>

#include "diagnostics/message_text.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/resolve_passes.hpp"

namespace ovm::sema {

using diagnostics::Diagnostic;

void declare_entities(const syntax::ParseOutput& tree, Resolution& resolution) {
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const syntax::Block& block = tree.blocks[i];
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (!kind || !kind->declares || !block.name()) continue;
    Symbol symbol{SymbolKind{*kind}, block.name()->text, block.name()->span};
    if (auto earlier = declare_global(resolution.symbols, symbol)) {
      push_diagnostic(
          resolution.diagnostics,
          already_declared(block.name()->span, diagnostics::fill_message("`{}` is already declared", {block.name()->text}), *earlier));
    }
  }
}

void check_named_entities(const syntax::ParseOutput& tree, Resolution& resolution) {
  for (std::size_t i = 0; i < tree.blocks.size(); ++i) {
    const syntax::Block& block = tree.blocks[i];
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (!kind || !kind->names || !block.name()) continue;
    // Only entities are declared yet, so a parameter of that name is not found here either.
    std::string_view wanted = *kind->names;
    const Symbol* found = lookup_global(resolution.symbols, block.name()->text);
    if (!found) {
      push_diagnostic(resolution.diagnostics,
                      no_entity_named(resolution.symbols, block.name()->span, wanted, block.name()->text));
      continue;
    }
    if (is_entity_of(*found, wanted)) continue;
    push_diagnostic(resolution.diagnostics, not_of_kind(block.name()->span, *found, wanted));
  }
}

}  // namespace ovm::sema
