#pragma once

#include <optional>
#include <string>
#include <variant>

namespace ovm::diagnostics {

// Why a file could not be read or written: the platform's reason text, or one of ours.
struct FileError {
  std::string reason;
};

inline constexpr const char* not_utf8_reason = "stream did not contain valid UTF-8";

// The whole file as text. A directory, a file that is not valid UTF-8 and a file of 4 GiB or
// more (offsets into a source text are 32-bit) are failures like a missing file.
std::variant<std::string, FileError> read_text_file(const std::string& path);

// Writes the whole text over the file at `path`, creating or truncating it.
std::optional<FileError> write_file(const std::string& path, const std::string& text);

// Replaces an existing file without ever leaving it half written: the text goes to a
// temporary file in the same directory, which keeps the original's permission bits and is
// then renamed over it. A symbolic link stays a link; its target is replaced. A file that
// cannot be opened for writing is not replaced.
std::optional<FileError> replace_file(const std::string& path, const std::string& text);

}  // namespace ovm::diagnostics
