#pragma once

#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// What `ovm build` does to a source text, then what `ovm run` does first with its file, in
// each profile: a model the checks pass must lower into a consistent graph that writes and
// reads back as the same graph. Inputs that are not UTF-8 are passed over, as a build refuses
// to read them.
Finding check_model_pipeline(std::string_view bytes);

}  // namespace ovm::fuzz
