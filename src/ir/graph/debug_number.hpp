#pragma once

#include <string>

namespace ovm::ir {

// A number as the debug texts of expressions and the value texts of lowering print it: the
// fewest digits that read back as the same double with at least one digit after the point
// (1.0, 0.5, 273.15, -0.0), but the shortest mantissa and an exponent without sign or leading
// zeros when the magnitude is at least 1e16 or above zero and below 1e-4 (1e16, 1.5e-7).
// "NaN", "inf" and "-inf" for the non-finite.
std::string debug_number_text(double value);

}  // namespace ovm::ir
