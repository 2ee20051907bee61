#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "engine/base/engine_error.hpp"
#include "engine/ovdb/ovdb_records.hpp"

namespace ovm::engine {

// Reads one resolved database path into the set: a directory as every database file in it in
// byte order of their names, anything else as one database file. The first error ends it.
std::optional<EngineError> read_database_path(DatabaseSet& set, const std::filesystem::path& path);

// The entry itself when its extension is "ovdb" in any ASCII case; the extension follows the
// last `.` of the name, and a name whose only `.` leads it has none.
std::optional<std::filesystem::path> find_database_file(const std::filesystem::path& entry);

// The entries of one directory listing that are read as databases, in listing order.
std::vector<std::filesystem::path> collect_database_files(const std::vector<std::filesystem::path>& listing);

}  // namespace ovm::engine
