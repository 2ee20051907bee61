#pragma once

#include <cstdio>
#include <string_view>

namespace ovm::cli {

// The two output streams of a command. A failed write is remembered, so that the command's
// status can say so instead of claiming success.
struct Console {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool out_failed = false;
  bool err_failed = false;
  int out_errno = 0;
};

void write_out(Console& console, std::string_view text);
// Flushes the standard output first, so that the two streams interleave in the order written.
void write_err(Console& console, std::string_view text);

// Flushes both streams. When the standard output could not be written, reports it on the
// standard error and raises a status below 2 to 2.
int finish(Console& console, int status);

}  // namespace ovm::cli
