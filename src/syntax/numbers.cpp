#include "syntax/numbers.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

#include "syntax/ascii.hpp"

namespace ovm::syntax {
namespace {

// Whether a decimal text that from_chars found out of range is too large rather than too
// small: the decimal exponent of its first significant digit tells, since every such text
// lies far from 1.
bool overflows(std::string_view text) {
  std::size_t i = 0;
  std::int64_t magnitude = 0;  // digits before the point, from the first significant one
  bool significant = false;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    significant = significant || text[i] != '0';
    if (significant) ++magnitude;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && is_digit(text[i]); ++i) {
      if (significant) continue;
      if (text[i] != '0') significant = true;
      else --magnitude;
    }
  }
  std::int64_t exponent = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Saturates: any exponent this large already decides the question.
    for (; i < text.size() && is_digit(text[i]); ++i) exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
  }
  return magnitude + (negative ? -exponent : exponent) > 0;
}

}  // namespace

double read_float(std::string_view text) {
  double value = std::numeric_limits<double>::quiet_NaN();
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    return overflows(text) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (error != std::errc{} || end != text.data() + text.size()) return std::numeric_limits<double>::quiet_NaN();
  return value;
}

std::optional<std::int32_t> read_int32(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace ovm::syntax
