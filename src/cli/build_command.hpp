#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/console.hpp"
#include "sema/profile.hpp"

namespace ovm::cli {

// Lowers the first file into a lowered-model file, written to `output` or beside the source,
// and prints the path written.
int cmd_build(std::span<const std::string> positionals, const std::optional<std::string>& output,
              sema::Profile profile, Console& console);

// "<stem>.ovmir.json" in the source's directory, or in the current one for a bare file name;
// the stem is "model" when the path names no file.
std::string ir_output_path(const std::string& source_path);

}  // namespace ovm::cli
