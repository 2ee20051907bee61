#include "engine/ovdb/ovdb_read.hpp"

#include <algorithm>
#include <string>
#include <system_error>
#include <variant>

#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"
#include "engine/base/file_listing.hpp"
#include "engine/ovdb/ovdb_parse.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

std::optional<EngineError> read_database_directory(DatabaseSet& set, const fs::path& directory) {
  std::optional<std::vector<fs::path>> listing = list_directory(directory);
  if (!listing) {
    return EngineError{database_error_code, diagnostics::display_text(directory.string()) + " cannot be read"};
  }
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
  // Read by its bytes, shown in messages with every ill-formed sequence replaced.
  std::string shown = diagnostics::display_text(path.string());
  std::variant<std::string, diagnostics::FileError> text = diagnostics::read_text_file(path.string());
  if (const auto* failure = std::get_if<diagnostics::FileError>(&text)) {
    return EngineError{database_error_code, shown + ": " + failure->reason};
  }
  return parse_database_text(set, shown, std::get<std::string>(text));
}

}  // namespace

std::optional<fs::path> find_database_file(const fs::path& entry) {
  if (!has_extension_folded(entry, "ovdb")) return std::nullopt;
  return entry;
}

std::vector<fs::path> collect_database_files(const std::vector<fs::path>& listing) {
  return entries_with_extension(listing, "ovdb");
}

std::optional<EngineError> read_database_path(DatabaseSet& set, const fs::path& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) return read_database_directory(set, path);
  return read_database_file(set, path);
}

}  // namespace ovm::engine
