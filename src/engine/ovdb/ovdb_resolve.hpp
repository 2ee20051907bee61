#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ovm::engine {

// Turns a database name of a model into the path to read. Never fails; the result need not
// exist. `model_directory` is the directory of the model file, absent when it has none.
std::filesystem::path resolve_database_path(const std::optional<std::filesystem::path>& model_directory,
                                            const std::string& name);

// The same with the search roots supplied by the caller; they are asked for only when a bare
// name is not found beside the model.
std::filesystem::path resolve_database_path_in(const std::optional<std::filesystem::path>& model_directory,
                                               const std::string& name,
                                               const std::function<std::vector<std::filesystem::path>()>& roots);

// The roots searched for a bare name, in order: the value of OVM_DATABASES as one path, taken
// untested, then the first directory named "databases" in the executable's directory or one of
// its three nearest ancestors.
std::vector<std::filesystem::path> database_search_roots(const std::optional<std::string>& environment_value,
                                                         const std::optional<std::filesystem::path>& executable);

// The roots for this process: OVM_DATABASES and the running executable.
std::vector<std::filesystem::path> database_search_roots();

}  // namespace ovm::engine
