#pragma once

#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// The engine on every lowered-model text that reads (of UTF-8, as the run command reads): the
// graph is run without its backends and the capabilities they bring, any database it names is
// replaced by the target's own, and a time-driven run gives up after a few thousand steps. The results must write as a results
// file of the documented shape, with one column per output of the model.
Finding check_engine_run(std::string_view bytes);

}  // namespace ovm::fuzz
