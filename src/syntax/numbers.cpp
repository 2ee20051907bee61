#include "syntax/numbers.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
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

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> powers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The most common case of the one below, digits[.digits] in at most 15 bytes, read in one pass:
// its significand is below 10^15 and its fraction shorter than 15 digits, so it is exact.
std::optional<double> short_plain_decimal(std::string_view text) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::uint64_t significand = 0;
  int fraction = -1;  // the digits after the point, once one is read
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (is_digit(c)) {
      significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
      if (fraction >= 0) ++fraction;
    } else if (c == '.' && fraction < 0 && i > 0 && i + 1 < text.size()) {
      fraction = 0;
    } else {
      return std::nullopt;
    }
  }
  auto value = static_cast<double>(significand);
  return fraction > 0 ? value / powers[static_cast<std::size_t>(fraction)] : value;
}

// Clinger's fast path: digits[.digits][e[+-]digits] whose significand is below 2^53 and whose
// decimal exponent is within 22 are one exact division or multiplication by an exact power of
// ten, so the double is the nearest one, as from_chars finds it. Nothing for any other text.
std::optional<double> exact_small_decimal(std::string_view text) {
  constexpr std::uint64_t limit = std::uint64_t{1} << 53;
  std::uint64_t significand = 0;
  std::int64_t exponent = 0;
  std::size_t i = 0;
  std::size_t digits = 0;
  auto read_digits = [&](bool after_point) {
    for (; i < text.size() && is_digit(text[i]); ++i, ++digits) {
      if (digits >= 18) return false;  // keeps the significand far from overflow
      significand = significand * 10 + static_cast<std::uint64_t>(text[i] - '0');
      if (after_point) --exponent;
    }
    return true;
  };
  if (!read_digits(false) || digits == 0) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    ++i;
    std::size_t before = digits;
    if (!read_digits(true) || digits == before) return std::nullopt;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t first = i;
    std::int64_t written = 0;
    for (; i < text.size() && is_digit(text[i]) && i - first < 4; ++i) written = written * 10 + (text[i] - '0');
    if (i == first) return std::nullopt;
    exponent += negative ? -written : written;
  }
  if (i != text.size() || significand >= limit || exponent < -22 || exponent > 22) return std::nullopt;
  auto value = static_cast<double>(significand);
  return exponent < 0 ? value / powers[static_cast<std::size_t>(-exponent)] : value * powers[static_cast<std::size_t>(exponent)];
}

}  // namespace

double read_float(std::string_view text) {
  if (std::optional<double> exact = short_plain_decimal(text)) return *exact;
  if (std::optional<double> exact = exact_small_decimal(text)) return *exact;
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
