#pragma once

#include <filesystem>
#include <optional>
#include <variant>

#include "engine/base/engine_error.hpp"
#include "engine/ovdb/ovdb_records.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::engine {

// Resolves and reads every database the model names, in the model's order. Nothing is
// de-duplicated; the first error discards the set.
std::variant<DatabaseSet, EngineError> load_databases(const ir::ModelGraph& graph,
                                                      const std::optional<std::filesystem::path>& model_directory);

}  // namespace ovm::engine
