#pragma once

#include <cstdio>
#include <string>

namespace ovm::cli {

// Everything written to a temporary stream, read from its start.
inline std::string read_back(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[512];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  return text;
}

}  // namespace ovm::cli
