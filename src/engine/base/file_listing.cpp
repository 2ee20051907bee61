#include "engine/base/file_listing.hpp"

#include <string>
#include <system_error>

#include "diagnostics/text_match.hpp"

namespace ovm::engine {

namespace fs = std::filesystem;

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

bool has_extension_folded(const fs::path& entry, std::string_view extension) {
  std::string name = entry.filename().string();
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  return diagnostics::equals_ascii_folded(std::string_view(name).substr(dot + 1), extension);
}

std::vector<fs::path> entries_with_extension(const std::vector<fs::path>& listing, std::string_view extension) {
  std::vector<fs::path> files;
  for (const fs::path& entry : listing) {
    if (has_extension_folded(entry, extension)) files.push_back(entry);
  }
  return files;
}

bool is_existing_directory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool is_existing_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace ovm::engine
