#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "engine/base/engine_error.hpp"
#include "ir/graph/graph_backends.hpp"

namespace ovm::engine {

inline constexpr const char* phreeqc_variable = "OVM_PHREEQC";
inline constexpr const char* phreeqc_database_variable = "OVM_PHREEQC_DATABASE";

// "<path> does not exist", for an input or database file that is not a regular file.
EngineError missing_file_error(const std::filesystem::path& path);

// The value of the environment variable when it is set, valid UTF-8 and names an existing
// regular file, exactly as written.
std::optional<std::string> environment_file(const char* variable);

// When the variable is set to a valid UTF-8 value that names no regular file: the message
// "`<variable>` is set to `<value>`, which does not exist" (or "is a directory", "is not a
// regular file").
std::optional<std::string> unusable_setting(const char* variable);

// OVM_PHREEQC when it names a regular file, exactly as written; nothing when it is set to
// something else; otherwise the first of "phreeqc" and "phreeqc.exe" that the platform can
// start from the program search path, as the bare name.
std::optional<std::filesystem::path> find_phreeqc_executable();

// The first directory named "database" or "share/doc/phreeqc/database" (where a Unix install
// puts them) in the executable's directory or one of its three nearest ancestors. A bare name
// is looked for on PATH first; when no PATH directory holds it, only the current directory is
// tried.
std::optional<std::filesystem::path> find_phreeqc_database_dir(const std::filesystem::path& executable);

// An absolute path unchanged; otherwise joined to `base` when given and then to the current
// directory, as far as that can be determined.
std::filesystem::path absolute_path(const std::optional<std::filesystem::path>& base, const std::string& path);

// The database a backend runs with: the one it names (a bare name is looked for near the
// executable before beside the model), else OVM_PHREEQC_DATABASE, else "phreeqc.dat" near the
// executable. The chosen file must exist.
std::variant<std::filesystem::path, EngineError> choose_phreeqc_database(
    const ir::Backend& backend, const std::optional<std::filesystem::path>& model_directory,
    const std::filesystem::path& executable);

}  // namespace ovm::engine
