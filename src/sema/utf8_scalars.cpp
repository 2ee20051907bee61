#include "sema/utf8_scalars.hpp"

#include <cstdint>

namespace ovm::sema {
namespace {

constexpr char32_t replacement = 0xFFFD;

// The scalar of the well-formed sequence of `length` bytes at `at`, or none. Overlong forms,
// surrogates and values past U+10FFFF are ill-formed.
bool decode_sequence(std::string_view text, std::size_t at, std::size_t length, char32_t& out) {
  if (at + length > text.size()) return false;
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
  constexpr std::uint8_t lead_bits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t value = byte(0) & lead_bits[length];
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return false;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  out = value;
  return true;
}

std::size_t sequence_length(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

std::u32string utf8_scalars(std::string_view text) {
  std::u32string scalars;
  scalars.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t length = sequence_length(static_cast<std::uint8_t>(text[at]));
    char32_t value = replacement;
    if (length != 0 && decode_sequence(text, at, length, value)) {
      at += length;
    } else {
      value = replacement;
      at += 1;
    }
    scalars.push_back(value);
  }
  return scalars;
}

}  // namespace ovm::sema
