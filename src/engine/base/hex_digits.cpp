#include "engine/base/hex_digits.hpp"

#include <cstdint>

namespace ovm::engine {

void append_hex_digits(std::string_view bytes, std::string& text) {
  static constexpr std::string_view digits = "0123456789abcdef";
  for (char byte : bytes) {
    auto value = static_cast<std::uint8_t>(byte);
    text.push_back(digits[value >> 4]);
    text.push_back(digits[value & 0xF]);
  }
}

}  // namespace ovm::engine
