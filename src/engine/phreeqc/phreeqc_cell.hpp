#pragma once

#include <optional>
#include <string_view>

namespace ovm::engine {

// A selected-output cell as a number when the whole cell is a decimal floating-point number:
// an optional sign, digits with an optional point (digits on at least one side of it) and an
// optional exponent, or inf, infinity or nan in any letter case after an optional sign.
// Anything else (a phase name, a quoted text, a number with a unit) is no number.
std::optional<double> read_cell_number(std::string_view cell);

}  // namespace ovm::engine
