#include "diagnostics/internal_error.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ovm::diagnostics {

void internal_error(std::string_view what) {
  std::string message = "ovm: internal error: ";
  message.append(what);
  message.push_back('\n');
  std::fflush(stdout);
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
  std::_Exit(3);
}

}  // namespace ovm::diagnostics
