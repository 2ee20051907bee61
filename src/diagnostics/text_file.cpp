#include "diagnostics/text_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "diagnostics/utf8.hpp"

namespace ovm::diagnostics {
namespace {

FileError from_errno(int error) { return FileError{std::strerror(error)}; }

// Offsets into a source text are 32-bit.
constexpr std::uint64_t max_text_size = std::uint64_t{1} << 32;
FileError too_large() { return FileError{"file is 4 GiB or larger"}; }

// Only regular files are read; a directory keeps the platform's own reason.
std::optional<FileError> kind_error(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return from_errno(EISDIR);
  if (!S_ISREG(info.st_mode)) return FileError{not_regular_reason};
  return std::nullopt;
}

}  // namespace

std::variant<FileDescriptor, FileError> open_regular_file(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return from_errno(errno);
  if (auto error = kind_error(info)) return *error;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return from_errno(errno);
  if (::fstat(fd.get(), &info) != 0) return from_errno(errno);
  if (auto error = kind_error(info)) return *error;
  return fd;
}

std::variant<std::string, FileError> read_text_file(const std::string& path) {
  std::variant<FileDescriptor, FileError> opened = open_regular_file(path);
  if (auto* failure = std::get_if<FileError>(&opened)) return std::move(*failure);
  const FileDescriptor& fd = std::get<FileDescriptor>(opened);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return from_errno(errno);
  if (static_cast<std::uint64_t>(info.st_size) >= max_text_size) return too_large();

  std::string text;
  text.reserve(static_cast<std::size_t>(info.st_size));
  if (auto failure = append_to_end(fd.get(), text, max_text_size)) return std::move(*failure);
  if (!is_valid_utf8(text)) return FileError{not_utf8_reason};
  return text;
}

std::optional<FileError> append_to_end(int fd, std::string& text, std::size_t limit) {
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return from_errno(errno);
    }
    if (n == 0) return std::nullopt;
    // A file may grow while it is read.
    if (text.size() + static_cast<std::size_t>(n) >= limit) return too_large();
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace ovm::diagnostics
