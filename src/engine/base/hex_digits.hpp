#pragma once

#include <string>
#include <string_view>

namespace ovm::engine {

// Appends every byte as two lower-case hexadecimal digits, the high nibble first.
void append_hex_digits(std::string_view bytes, std::string& text);

}  // namespace ovm::engine
