#pragma once

#include <string>

namespace ovm::diagnostics {

// A number as the messages of the checks and of the engine print it: the shortest digits that
// read back as the same double, never an exponent, no fraction when whole (2, 0.5, 273.15),
// "NaN", "inf", "-inf" and "-0".
std::string message_number_text(double value);

}  // namespace ovm::diagnostics
