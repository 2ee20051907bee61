#pragma once

#include <string_view>

#include "ir/graph/model_graph.hpp"

namespace ovm::bench {

// The lowered graph of a model text that checks clean, as `ovm build` makes it in memory; the
// program ends with a message when the text does not check clean.
ir::ModelGraph lowered_model(std::string_view text);

}  // namespace ovm::bench
