#pragma once

#include <string_view>

#include "ir/graph/model_graph.hpp"
#include "sema/profile.hpp"

namespace ovm::ir::testing {

// The graph of a model text that must pass the parser and the semantic checks: every error
// they report fails the test, so what is lowered is a model the build command would lower.
ModelGraph lower_checked(std::string_view text, sema::Profile profile = sema::Profile::Core);

// The graph of a model text lowered whatever the checks say, for what lowering must withstand.
ModelGraph lower_unchecked(std::string_view text, sema::Profile profile = sema::Profile::Core);

// lower_checked of a file of the examples folder; a file that cannot be read fails the test.
ModelGraph lower_example(const char* file, sema::Profile profile);

}  // namespace ovm::ir::testing
