#pragma once

#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// The lowered-model reader and writer on any UTF-8 text (the run command reads no other): a
// text that reads must write, the written text must read back as an equal graph, and writing
// that graph again must give the same bytes.
Finding check_graph_round_trip(std::string_view bytes);

}  // namespace ovm::fuzz
