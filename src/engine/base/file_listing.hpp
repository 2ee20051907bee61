#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace ovm::engine {

// The entries of a directory in listing order, or nothing when it cannot be listed. Entries
// that cannot be read are left out; an error that ends the iteration leaves out the rest.
std::optional<std::vector<std::filesystem::path>> list_directory(const std::filesystem::path& directory);

// The entries of a listing whose extension is `extension` in any ASCII case, in listing order.
std::vector<std::filesystem::path> entries_with_extension(const std::vector<std::filesystem::path>& listing,
                                                          std::string_view extension);

// Whether the path names an existing directory, or an existing regular file; a path whose
// kind cannot be read is neither.
bool is_existing_directory(const std::filesystem::path& path);
bool is_existing_file(const std::filesystem::path& path);

// Whether the entry's extension, the text after the last `.` of its name, equals `extension`
// in any ASCII case. A name whose only `.` leads it has no extension.
bool has_extension_folded(const std::filesystem::path& entry, std::string_view extension);

}  // namespace ovm::engine
