#include "diagnostics/text_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "diagnostics/utf8.hpp"

namespace ovm::diagnostics {
namespace {

FileError from_errno(int error) { return FileError{std::strerror(error)}; }

// Offsets into a source text are 32-bit.
constexpr std::uint64_t max_text_size = std::uint64_t{1} << 32;
FileError too_large() { return FileError{"file is 4 GiB or larger"}; }

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Closes the descriptor and keeps the first error seen.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Close now, reporting a failure (data may be lost on close for some file systems).
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

std::variant<std::string, FileError> read_text_file(const std::string& path) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return from_errno(errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return from_errno(errno);
  if (S_ISDIR(info.st_mode)) return from_errno(EISDIR);

  if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) >= max_text_size) return too_large();
  std::string text;
  if (S_ISREG(info.st_mode)) text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return from_errno(errno);
    }
    if (n == 0) break;
    if (text.size() + static_cast<std::size_t>(n) >= max_text_size) return too_large();
    text.append(buffer, static_cast<std::size_t>(n));
  }
  if (!is_valid_utf8(text)) return FileError{not_utf8_reason};
  return text;
}

std::optional<FileError> write_file(const std::string& path, const std::string& text) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) return from_errno(errno);
  if (!write_all(fd.get(), text)) return from_errno(errno);
  if (!fd.close()) return from_errno(errno);
  return std::nullopt;
}

std::optional<FileError> replace_file(const std::string& path, const std::string& text) {
  std::string target = path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;

  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) return from_errno(errno);
  // The rename needs only the directory's permission: a file its user may not write (a
  // read-only one) is refused as a direct write would refuse it.
  Descriptor writable(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  if (writable.get() < 0) return from_errno(errno);
  if (!writable.close()) return from_errno(errno);

  std::string::size_type slash = target.rfind('/');
  std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // Only a prefix of the name, so that the temporary's name stays within the file system's
  // limit however long the original's is.
  std::string temporary = directory + "." + name.substr(0, 128) + ".ovm-XXXXXX";

  Descriptor fd(::mkstemp(temporary.data()));
  if (fd.get() < 0) return from_errno(errno);
  auto fail = [&](int error) {
    ::unlink(temporary.c_str());
    return from_errno(error);
  };
  if (::fchmod(fd.get(), info.st_mode & 07777) != 0) return fail(errno);
  if (!write_all(fd.get(), text)) return fail(errno);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (!fd.close()) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

}  // namespace ovm::diagnostics
