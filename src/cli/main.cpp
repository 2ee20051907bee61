#include <csignal>
#include <string>
#include <vector>

#include "cli/console.hpp"
#include "cli/entry.hpp"

int main(int argc, char** argv) {
  // A closed pipe must surface as a failed write (and status 2), not as a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Likewise a file-size limit: the write fails, and the file it was to replace stays whole.
  std::signal(SIGXFSZ, SIG_IGN);

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  ovm::cli::Console console;
  int status = ovm::cli::run_ovm(args, console);
  return ovm::cli::finish(console, status);
}
