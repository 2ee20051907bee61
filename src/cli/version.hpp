#pragma once

#include <string_view>

namespace ovm::cli {

// The program's name and version, as --version prints it and the lowered-model file records
// its generator.
inline constexpr std::string_view program_version = "ovm 0.1.0";

}  // namespace ovm::cli
