#include <cstddef>
#include <cstdint>

#include "front_end_pipeline.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ovm::fuzz::run_front_end(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
