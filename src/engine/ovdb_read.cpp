#include "engine/ovdb_read.hpp"

#include <algorithm>
#include <string>
#include <system_error>
#include <variant>

#include "diagnostics/text_file.hpp"
#include "engine/ovdb_parse.hpp"
#include "sema/text_match.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

// Entries that cannot be read while listing are left out; an error that ends the iteration
// leaves out the rest.
std::optional<std::vector<fs::path>> list_directory(const fs::path& directory) {
  std::error_code error;
  fs::directory_iterator it(directory, error);
  if (error) return std::nullopt;
  std::vector<fs::path> listing;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    listing.push_back(it->path());
  }
  return listing;
}

std::optional<EngineError> read_database_directory(DatabaseSet& set, const fs::path& directory) {
  std::optional<std::vector<fs::path>> listing = list_directory(directory);
  if (!listing) return EngineError{database_error_code, directory.string() + " cannot be read"};
  std::vector<fs::path> files = collect_database_files(*listing);
  // All lie in one directory, so comparing names is the byte order of the whole paths.
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  for (const fs::path& file : files) {
    if (std::optional<EngineError> error = read_database_path(set, file)) return error;
  }
  return std::nullopt;
}

std::optional<EngineError> read_database_file(DatabaseSet& set, const fs::path& path) {
  std::string shown = path.string();
  std::variant<std::string, diagnostics::FileError> text = diagnostics::read_text_file(shown);
  if (const auto* failure = std::get_if<diagnostics::FileError>(&text)) {
    return EngineError{database_error_code, shown + ": " + failure->reason};
  }
  return parse_database_text(set, shown, std::get<std::string>(text));
}

}  // namespace

std::optional<fs::path> find_database_file(const fs::path& entry) {
  std::string name = entry.filename().string();
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return std::nullopt;
  if (!sema::equals_ascii_folded(std::string_view(name).substr(dot + 1), "ovdb")) return std::nullopt;
  return entry;
}

std::vector<fs::path> collect_database_files(const std::vector<fs::path>& listing) {
  std::vector<fs::path> files;
  for (const fs::path& entry : listing) {
    if (std::optional<fs::path> file = find_database_file(entry)) files.push_back(std::move(*file));
  }
  return files;
}

std::optional<EngineError> read_database_path(DatabaseSet& set, const fs::path& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) return read_database_directory(set, path);
  return read_database_file(set, path);
}

}  // namespace ovm::engine
