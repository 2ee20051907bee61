#include "cli/console.hpp"

#include <cerrno>
#include <cstring>
#include <string>

namespace ovm::cli {
namespace {

bool write_all(std::FILE* stream, std::string_view text) {
  if (text.empty()) return true;
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

}  // namespace

void write_out(Console& console, std::string_view text) {
  if (console.out_failed) return;
  if (!write_all(console.out, text)) {
    console.out_failed = true;
    console.out_errno = errno;
  }
}

void write_err(Console& console, std::string_view text) {
  // What the standard output was given comes first when both streams reach one terminal or file.
  if (!console.out_failed && std::fflush(console.out) != 0) {
    console.out_failed = true;
    console.out_errno = errno;
  }
  if (console.err_failed) return;
  if (!write_all(console.err, text)) console.err_failed = true;
}

int finish(Console& console, int status) {
  if (!console.out_failed && std::fflush(console.out) != 0) {
    console.out_failed = true;
    console.out_errno = errno;
  }
  if (console.out_failed) {
    std::string message = "cannot write to the standard output: ";
    message += std::strerror(console.out_errno);
    message += '\n';
    write_err(console, message);
    if (status < 2) status = 2;
  }
  if (std::fflush(console.err) != 0) console.err_failed = true;
  if (console.err_failed && status < 2) status = 2;
  return status;
}

}  // namespace ovm::cli
