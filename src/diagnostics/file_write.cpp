// Writing whole files so that a failure never leaves a file half written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "diagnostics/text_file.hpp"

namespace ovm::diagnostics {
namespace {

FileError from_errno(int error) { return FileError{std::strerror(error)}; }

bool write_all(int fd, std::string_view text) {
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

// The file a write lands on: the target of a symbolic link, so that the link stays a link.
std::string write_target(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;
}

// What a file created by an open() with mode 0666 would get.
mode_t new_file_mode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

struct Temporary {
  std::string path;
  FileDescriptor fd;
};

// A new file beside the target. Only a prefix of the target's name goes into its name, so
// that it stays within the file system's limit however long the target's is.
std::variant<Temporary, int> create_temporary(const std::string& target) {
  std::string::size_type slash = target.rfind('/');
  std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  Temporary temporary{directory + "." + name.substr(0, 128) + ".ovm-XXXXXX", FileDescriptor()};
  temporary.fd = FileDescriptor(::mkostemp(temporary.path.data(), O_CLOEXEC));
  if (!temporary.fd.valid()) return errno;
  return temporary;
}

// Gives the new file the owner and group of the one it replaces; false where the user may
// not give them away.
bool take_owner(int fd, const struct stat& original) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  if (info.st_uid == original.st_uid && info.st_gid == original.st_gid) return true;
  return ::fchown(fd, original.st_uid, original.st_gid) == 0;
}

// Gives the new file the owner, group and permission bits of the one it replaces; false
// where the user may not give them away. The mode is set after the owner, whose change
// clears the set-id bits.
bool take_identity(int fd, const struct stat& original) {
  return take_owner(fd, original) && ::fchmod(fd, original.st_mode & 07777) == 0;
}

// Writes every piece; the errno of the write that failed, or 0.
int write_pieces(int fd, const TextPieces& pieces) {
  int error = 0;
  bool written = pieces([&](std::string_view piece) {
    if (write_all(fd, piece)) return true;
    error = errno;
    return false;
  });
  if (!written && error == 0) error = EIO;  // the text could not be made
  return error;
}

TextPieces whole(const std::string& text) {
  return [&text](const std::function<bool(std::string_view)>& put) { return put(text); };
}

// Fills the temporary and renames it over the target; any failure removes it.
std::optional<FileError> commit(Temporary& temporary, const std::string& target, const TextPieces& pieces) {
  auto fail = [&](int error) {
    ::unlink(temporary.path.c_str());
    return from_errno(error);
  };
  if (int error = write_pieces(temporary.fd.get(), pieces)) return fail(error);
  if (::fsync(temporary.fd.get()) != 0) return fail(errno);
  if (!temporary.fd.close()) return fail(errno);
  if (::rename(temporary.path.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

// A device or a named pipe cannot be renamed over (and must not be): it takes the bytes.
std::optional<FileError> write_directly(const std::string& target, const TextPieces& pieces) {
  FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return from_errno(errno);
  if (int error = write_pieces(fd.get(), pieces)) return from_errno(error);
  if (!fd.close()) return from_errno(errno);
  return std::nullopt;
}

bool write_from_start(int fd, const std::string& text) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && write_all(fd, text) &&
         ::ftruncate(fd, static_cast<off_t>(text.size())) == 0;
}

// Writes the text over the file's own bytes, so that its links, owner and inode stay. When
// that fails part-way the old bytes are written back, which needs no more room than they
// had.
std::optional<FileError> rewrite_in_place(const FileDescriptor& file, const std::string& text) {
  std::string old;
  if (::lseek(file.get(), 0, SEEK_SET) != 0) return from_errno(errno);
  if (auto failure = append_to_end(file.get(), old, std::numeric_limits<std::size_t>::max())) return failure;
  if (write_from_start(file.get(), text) && ::fsync(file.get()) == 0) return std::nullopt;
  int error = errno;
  write_from_start(file.get(), old);
  return from_errno(error);
}

// Opened before a file is replaced, although a rename needs only the directory's permission:
// a file its user may not write (a read-only one) is refused as a direct write would refuse
// it. The open never waits and changes nothing.
int open_for_writing(const std::string& target, int access) {
  return ::open(target.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// The directory refuses a new file, so only the file itself can take the text.
bool directory_refuses(int error) { return error == EACCES || error == EPERM; }

}  // namespace

std::optional<FileError> write_file(const std::string& path, const std::string& text) {
  return write_file(path, whole(text));
}

std::optional<FileError> write_file(const std::string& path, const TextPieces& pieces) {
  std::string target = write_target(path);
  struct stat info {};
  bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return write_directly(target, pieces);
  if (exists) {
    FileDescriptor writable(open_for_writing(target, O_WRONLY));
    if (!writable.valid()) return from_errno(errno);
  }
  std::variant<Temporary, int> created = create_temporary(target);
  if (const int* error = std::get_if<int>(&created)) return from_errno(*error);
  Temporary& temporary = std::get<Temporary>(created);
  // Best effort: an output may change hands when its user may not keep the old owner, and a
  // file system without Unix permissions refuses any mode; the output is written all the same.
  if (exists) take_owner(temporary.fd.get(), info);
  ::fchmod(temporary.fd.get(), exists ? info.st_mode & 07777 : new_file_mode());
  return commit(temporary, target, pieces);
}

std::optional<FileError> replace_file(const std::string& path, const std::string& text) {
  std::string target = write_target(path);
  FileDescriptor file(open_for_writing(target, O_RDWR));
  if (!file.valid()) return from_errno(errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return from_errno(errno);
  if (!S_ISREG(info.st_mode)) return FileError{not_regular_reason};
  // A rename would leave the other links with the old text.
  if (info.st_nlink > 1) return rewrite_in_place(file, text);

  std::variant<Temporary, int> created = create_temporary(target);
  if (const int* error = std::get_if<int>(&created)) {
    if (directory_refuses(*error)) return rewrite_in_place(file, text);
    return from_errno(*error);
  }
  Temporary& temporary = std::get<Temporary>(created);
  if (!take_identity(temporary.fd.get(), info)) {
    ::unlink(temporary.path.c_str());
    return rewrite_in_place(file, text);
  }
  return commit(temporary, target, whole(text));
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace ovm::diagnostics
