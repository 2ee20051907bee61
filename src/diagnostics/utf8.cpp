#include "diagnostics/utf8.hpp"

#include <cstdint>
#include <cstring>

namespace ovm::diagnostics {
namespace {

// Length of the well-formed UTF-8 sequence at `i`, or 0 with `bad` set to the number of
// bytes that form the ill-formed maximal subpart to replace by one U+FFFD.
std::size_t sequence_length(std::string_view s, std::size_t i, std::size_t& bad) {
  auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
  std::uint8_t lead = byte(i);
  bad = 1;
  if (lead < 0x80) return 1;
  std::size_t need = 0;
  std::uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size()) return 0;
    std::uint8_t b = byte(i + k);
    std::uint8_t lo = k == 1 ? low : 0x80;
    std::uint8_t hi = k == 1 ? high : 0xBF;
    if (b < lo || b > hi) return 0;
    bad = k + 1;
  }
  return need + 1;
}

}  // namespace

std::string display_text(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t bad = 0;
    std::size_t n = sequence_length(bytes, i, bad);
    if (n > 0) {
      out.append(bytes.substr(i, n));
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      i += bad;
    }
  }
  return out;
}

bool is_valid_utf8(std::string_view bytes) {
  constexpr std::uint64_t high_bits = 0x8080808080808080u;
  auto word_at = [&](std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    return word;
  };
  for (std::size_t i = 0; i < bytes.size();) {
    // Model text is nearly all ASCII: 32 bytes at a time, then eight, until a byte has its high
    // bit set.
    if (i + 32 <= bytes.size() && ((word_at(i) | word_at(i + 8) | word_at(i + 16) | word_at(i + 24)) & high_bits) == 0) {
      i += 32;
      continue;
    }
    std::uint64_t word = 0;
    if (i + sizeof word <= bytes.size() && (std::memcpy(&word, bytes.data() + i, sizeof word), (word & high_bits) == 0)) {
      i += sizeof word;
      continue;
    }
    if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    std::size_t bad = 0;
    std::size_t n = sequence_length(bytes, i, bad);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace ovm::diagnostics
