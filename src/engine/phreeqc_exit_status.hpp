#pragma once

#include <string>
#include <string_view>

#include "engine/phreeqc_child.hpp"

namespace ovm::engine {

// Appends every byte as two lower-case hexadecimal digits, the high nibble first.
void append_hex_digits(std::string_view bytes, std::string& text);

// "exit code: " and the code in decimal, or "0x" and eight hexadecimal digits when the highest
// bit of the 32-bit code is set; "signal: " and its number for a child ended by a signal.
std::string exit_status_text(const ExitStatus& status);

}  // namespace ovm::engine
