#pragma once

#include <string>
#include <string_view>

#include "engine/base/hex_digits.hpp"
#include "engine/phreeqc/phreeqc_child.hpp"

namespace ovm::engine {

// "exit code: " and the code in decimal, or "0x" and eight hexadecimal digits when the highest
// bit of the 32-bit code is set; "signal: " and its number for a child ended by a signal.
std::string exit_status_text(const ExitStatus& status);

}  // namespace ovm::engine
