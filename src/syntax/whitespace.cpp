#include <algorithm>
#include <array>
#include <cstdint>

#include "syntax/parser.hpp"
#include "syntax/scan.hpp"
#include "syntax/whitespace.hpp"

namespace ovm::syntax {
namespace {

struct CodeRange {
  char32_t first;
  char32_t last;
};

// The Unicode White_Space property.
constexpr std::array<CodeRange, 10> white_space = {{
    {0x0009, 0x000D},
    {0x0020, 0x0020},
    {0x0085, 0x0085},
    {0x00A0, 0x00A0},
    {0x1680, 0x1680},
    {0x2000, 0x200A},
    {0x2028, 0x2029},
    {0x202F, 0x202F},
    {0x205F, 0x205F},
    {0x3000, 0x3000},
}};

bool is_white_space(char32_t c) {
  for (CodeRange range : white_space) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

// The code point of a character of `length` bytes; a broken sequence gives one that is no
// white space, so its bytes are kept.
char32_t decode(std::string_view bytes) {
  static constexpr std::array<unsigned char, 5> lead_mask = {0, 0x7F, 0x1F, 0x0F, 0x07};
  auto lead = static_cast<unsigned char>(bytes[0]);
  std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (expected != bytes.size()) return 0xFFFD;
  char32_t c = lead & lead_mask[expected];
  for (std::size_t i = 1; i < bytes.size(); ++i) c = (c << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
  return c;
}

}  // namespace

std::size_t white_space_length(std::string_view text, std::size_t at) {
  std::size_t length = utf8_length(text, at);
  return is_white_space(decode(text.substr(at, length))) ? length : 0;
}

bool may_hold_whitespace(std::string_view text) {
  return !std::all_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x80;
  });
}

std::string strip_whitespace(std::string_view text) {
  // White space is a control or space byte, or not ASCII: most texts have neither.
  if (!may_hold_whitespace(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = utf8_length(text, i);
    std::string_view character = text.substr(i, length);
    if (!is_white_space(decode(character))) out += character;
    i += length;
  }
  return out;
}

}  // namespace ovm::syntax
