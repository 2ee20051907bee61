#pragma once

#include <string_view>

#include "ir/model_graph.hpp"
#include "sema/profile.hpp"

namespace ovm::ir::testing {

// The graph of a model text that must pass the parser and the semantic checks: every error
// they report fails the test, so what is lowered is a model the build command would lower.
ModelGraph lower_checked(std::string_view text, sema::Profile profile = sema::Profile::Core);

// The graph of a model text lowered whatever the checks say, for what lowering must withstand.
ModelGraph lower_unchecked(std::string_view text, sema::Profile profile = sema::Profile::Core);

}  // namespace ovm::ir::testing
