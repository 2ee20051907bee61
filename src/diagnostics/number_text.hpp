#pragma once

#include <string>

namespace ovm::diagnostics {

// The shortest decimal digits that read back as the same double, written in positional
// notation without exponent: 2.5, 100, 0.0001, 1 followed by 300 zeros for 1e300, -0 for
// negative zero. Not-a-number is "NaN", infinities "inf" and "-inf". The message texts and
// the syntax-tree dump are built on it.
std::string plain_decimal(double value);

}  // namespace ovm::diagnostics
