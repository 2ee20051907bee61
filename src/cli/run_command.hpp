#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/console.hpp"

namespace ovm::cli {

// Runs the lowered model named by the first positional, writes its results file to `output` or
// beside the model, prints the path written and each diagnostic of the run.
int cmd_run(std::span<const std::string> positionals, const std::optional<std::string>& output, Console& console);

// "<stem>.results.json" in the model file's directory, or in the current one for a bare file
// name; the stem loses every ".ovmir" and is "model" when the path names no file.
std::string results_output_path(const std::string& model_path);

}  // namespace ovm::cli
