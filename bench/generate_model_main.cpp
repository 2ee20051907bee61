// generate_model <megabytes> <path>: writes a valid model of about that size.
// generate_model rayleigh <steps> <path>: writes the 10-aquifer Rayleigh model run for that
// many steps of a day (see generate_rayleigh_model).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "model_generator.hpp"

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "rayleigh") == 0) {
    ovm::bench::RayleighModel shape;
    shape.steps = std::strtoul(argv[2], nullptr, 10);
    std::ofstream(argv[3], std::ios::binary) << ovm::bench::generate_rayleigh_model(shape);
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: generate_model <megabytes> <path> | generate_model rayleigh <steps> <path>\n");
    return 2;
  }
  std::size_t megabytes = std::strtoul(argv[1], nullptr, 10);
  std::string text = ovm::bench::generate_model(megabytes * 1000 * 1000);
  std::ofstream(argv[2], std::ios::binary) << text;
  return 0;
}
