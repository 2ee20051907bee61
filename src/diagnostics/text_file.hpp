#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "diagnostics/file_descriptor.hpp"

namespace ovm::diagnostics {

// Why a file could not be read or written: the platform's reason text, or one of ours.
struct FileError {
  std::string reason;
};

inline constexpr const char* not_utf8_reason = "stream did not contain valid UTF-8";
inline constexpr const char* not_regular_reason = "not a regular file";

// Opens an existing regular file for reading. A named pipe, a device or a socket is refused
// from its metadata before it is opened, and the open itself never waits, so nothing can
// block a reader or feed it bytes for ever (one swapped in after the check is refused too).
std::variant<FileDescriptor, FileError> open_regular_file(const std::string& path);

// The whole file as text. A directory, anything but a regular file, a file that is not
// valid UTF-8 and a file of 4 GiB or more (offsets into a source text are 32-bit) are
// failures like a missing file.
std::variant<std::string, FileError> read_text_file(const std::string& path);

// Appends what the descriptor holds from its offset to its end; refuses to go past `limit`
// bytes in all.
std::optional<FileError> append_to_end(int fd, std::string& text, std::size_t limit);

// Writes the whole text as the file at `path` so that it holds either the new text or
// exactly what it held before: the text goes to a temporary file in the same directory,
// which is then renamed over it, and a failure removes the temporary. An existing file the
// user may not write is refused; one that is replaced keeps its permission bits (and its
// owner and group where the user may keep them); a symbolic link stays a link and its
// target is replaced. An existing target that is not a
// regular file (a device such as /dev/null, a named pipe) is written directly.
std::optional<FileError> write_file(const std::string& path, const std::string& text);

// A text made piece by piece: hands each piece in order to `put` and returns false as soon as
// `put` refuses one.
using TextPieces = std::function<bool(const std::function<bool(std::string_view)>& put)>;

// As above, for a text too large to hold whole: its pieces are written as they are made.
std::optional<FileError> write_file(const std::string& path, const TextPieces& pieces);

// Rewrites an existing regular file without changing what it is: it keeps its owner, group
// and permission bits, and a symbolic link stays a link. The new text replaces it by rename
// as `write_file` does, except where a rename would split or re-own it: a file with other
// hard links, one in a directory the user may not write, or one whose owner and group the
// user cannot give a new file is written in place (and put back as it was when that write
// fails). A file that cannot be opened for writing is not replaced.
std::optional<FileError> replace_file(const std::string& path, const std::string& text);

// Whether both paths name one existing file (links followed): the same device and inode.
bool same_file(const std::string& a, const std::string& b);

}  // namespace ovm::diagnostics
