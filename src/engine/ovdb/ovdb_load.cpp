#include "engine/ovdb/ovdb_load.hpp"

#include "engine/ovdb/ovdb_read.hpp"
#include "engine/ovdb/ovdb_resolve.hpp"

namespace ovm::engine {

std::variant<DatabaseSet, EngineError> load_databases(const ir::ModelGraph& graph,
                                                      const std::optional<std::filesystem::path>& model_directory) {
  DatabaseSet set;
  // Only the name is read: what the build recorded is never trusted.
  for (const ir::DatabaseRef& database : graph.provenance.databases) {
    std::filesystem::path path = resolve_database_path(model_directory, database.path);
    if (std::optional<EngineError> error = read_database_path(set, path)) return std::move(*error);
  }
  return set;
}

}  // namespace ovm::engine
