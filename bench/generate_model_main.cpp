// generate_model <megabytes> <path>: writes a valid model of about that size.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "model_generator.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: generate_model <megabytes> <path>\n");
    return 2;
  }
  std::size_t megabytes = std::strtoul(argv[1], nullptr, 10);
  std::string text = ovm::bench::generate_model(megabytes * 1000 * 1000);
  std::ofstream(argv[2], std::ios::binary) << text;
  return 0;
}
