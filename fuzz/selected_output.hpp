#pragma once

#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// A PHREEQC selected output from any bytes: every cell reads as a number exactly when the cell
// grammar says it is one, and to the value strtod gives it; the last row, the series rows and
// the exports of a backend that reads every column, in both export modes, hold what the
// header and the rows say, or fail with the message the case calls for.
Finding check_selected_output(std::string_view bytes);

}  // namespace ovm::fuzz
