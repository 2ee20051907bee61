#pragma once

#include "ir/graph/model_graph.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::engine {

// Which model a run belongs to: the provenance's format version, source path and digest, and
// the name of its MODEL block (absent without one).
ir::ResultsModel model_identity(const ir::ModelGraph& model);

}  // namespace ovm::engine
