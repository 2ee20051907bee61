#pragma once

#include <string_view>
#include <vector>

#include "sema/resolution.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// Every species formula lowering turns into a species of the model, each once, in the order
// first written: the values of SPECIES statements, the species keys of named RESERVOIR blocks
// and the endpoints a named PROCESS of a known type other than mixing reads (the last statement
// of each endpoint key, as lowering takes it). A reference may name any of them.
std::vector<std::string_view> model_species(const syntax::ParseOutput& tree, const Resolution& resolution);

}  // namespace ovm::sema
