// The libFuzzer entry of every target; OVM_FUZZ_TARGET names the one this binary runs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ovm::fuzz::FuzzTarget* target = ovm::fuzz::find_fuzz_target(OVM_FUZZ_TARGET);
  if (target == nullptr) {
    std::fprintf(stderr, "no fuzz target named %s\n", OVM_FUZZ_TARGET);
    std::abort();
  }
  ovm::fuzz::Finding finding = target->check(std::string_view(reinterpret_cast<const char*>(data), size));
  if (finding) {
    std::fprintf(stderr, "%s: %s\n", OVM_FUZZ_TARGET, finding->c_str());
    std::abort();
  }
  return 0;
}
