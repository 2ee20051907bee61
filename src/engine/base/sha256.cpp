#include "engine/base/sha256.hpp"

#include <openssl/evp.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "diagnostics/internal_error.hpp"
#include "engine/base/hex_digits.hpp"

namespace ovm::engine {
namespace {

struct ContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

// A failing digest call is a fault of the program's set-up, never of the input.
void require(bool ok) {
  if (!ok) diagnostics::internal_error("SHA-256 computation failed");
}

Context start_digest() {
  Context context(EVP_MD_CTX_new());
  require(context != nullptr);
  require(EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) == 1);
  return context;
}

std::string finish_digest(EVP_MD_CTX* context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  require(EVP_DigestFinal_ex(context, digest, &size) == 1);
  std::string text;
  text.reserve(std::size_t{size} * 2);
  append_hex_digits(std::string_view(reinterpret_cast<const char*>(digest), size), text);
  return text;
}

}  // namespace

std::string sha256_hex(std::string_view bytes) {
  Context context = start_digest();
  require(EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) == 1);
  return finish_digest(context.get());
}

std::variant<std::string, diagnostics::FileError> sha256_file_hex(const std::string& path) {
  std::variant<diagnostics::FileDescriptor, diagnostics::FileError> opened = diagnostics::open_regular_file(path);
  if (auto* failure = std::get_if<diagnostics::FileError>(&opened)) return std::move(*failure);
  int fd = std::get<diagnostics::FileDescriptor>(opened).get();
  Context context = start_digest();
  char buffer[65536];
  while (true) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return diagnostics::FileError{std::strerror(errno)};
    }
    if (got == 0) break;
    require(EVP_DigestUpdate(context.get(), buffer, static_cast<std::size_t>(got)) == 1);
  }
  return finish_digest(context.get());
}

}  // namespace ovm::engine
