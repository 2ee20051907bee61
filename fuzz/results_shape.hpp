#pragma once

#include <string_view>

#include "fuzz_targets.hpp"
#include "ir/results/results_file.hpp"

namespace ovm::fuzz {

// Whether `text`, written for `results`, is a results file of the documented shape: one JSON
// document laid out by the pretty-printing rules (two blanks of indent, a member or element
// per line, "[]" and "{}" when empty, no final newline), its members and keys in their order,
// optional keys only when present, every text and cell as the record holds it (a cell that is
// absent or not finite as null), and of a run that either failed with its one error and no
// rows, or ran without an error and recorded at least its first row, every row one cell per
// column.
Finding check_results_text(std::string_view text, const ir::ResultsFile& results);

}  // namespace ovm::fuzz
