#include "engine/ovdb/ovdb_resolve.hpp"

#include <cstdlib>
#include <system_error>

#include "engine/base/file_listing.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

// Anything whose metadata can be read counts, a file or a directory.
bool path_exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::optional<fs::path> running_executable() {
  std::error_code error;
  fs::path path = fs::read_symlink("/proc/self/exe", error);
  if (error || path.empty()) return std::nullopt;
  return path;
}

std::optional<fs::path> databases_near(const fs::path& executable) {
  fs::path directory = executable.parent_path();
  for (int tries = 0; tries < 4 && !directory.empty(); ++tries) {
    fs::path candidate = directory / "databases";
    if (is_existing_directory(candidate)) return candidate;
    fs::path parent = directory.parent_path();
    if (parent == directory) break;
    directory = parent;
  }
  return std::nullopt;
}

}  // namespace

std::vector<fs::path> database_search_roots(const std::optional<std::string>& environment_value,
                                            const std::optional<fs::path>& executable) {
  std::vector<fs::path> roots;
  if (environment_value) roots.emplace_back(*environment_value);
  if (executable) {
    if (std::optional<fs::path> near = databases_near(*executable)) roots.push_back(std::move(*near));
  }
  return roots;
}

std::vector<fs::path> database_search_roots() {
  std::optional<std::string> environment_value;
  if (const char* value = std::getenv("OVM_DATABASES")) environment_value = value;
  return database_search_roots(environment_value, running_executable());
}

fs::path resolve_database_path_in(const std::optional<fs::path>& model_directory, const std::string& name,
                                  const std::function<std::vector<fs::path>()>& roots) {
  fs::path named(name);
  if (named.is_absolute()) return named;
  fs::path candidate = model_directory ? *model_directory / named : named;
  // A name with a directory part is never searched for.
  if (name.find_first_of("/\\") != std::string::npos) return candidate;
  if (path_exists(candidate)) return candidate;
  for (const fs::path& root : roots()) {
    fs::path found = root / named;
    if (path_exists(found)) return found;
  }
  // Not found anywhere: reading the model-relative path reports it.
  return candidate;
}

fs::path resolve_database_path(const std::optional<fs::path>& model_directory, const std::string& name) {
  return resolve_database_path_in(model_directory, name, [] { return database_search_roots(); });
}

}  // namespace ovm::engine
