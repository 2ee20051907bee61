#pragma once

#include <optional>
#include <string>

#include "engine/base/engine_error.hpp"
#include "engine/ovdb/ovdb_records.hpp"

namespace ovm::engine {

// Parses the text of one database file and appends its usable entries to the set. `shown` is
// the file's path as messages show it. On an error nothing of the file is appended.
std::optional<EngineError> parse_database_text(DatabaseSet& set, const std::string& shown,
                                               const std::string& text);

// Whether an `ovdb_version` text names format 1: its part before the first `.` is "1".
bool database_version_supported(const std::string& version);

}  // namespace ovm::engine
