#include "ir/json_number.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

namespace ovm::ir {

std::string json_number_text(double value) {
  if (!std::isfinite(value)) return "null";
  std::string out = std::signbit(value) ? "-" : "";
  if (value == 0) return out + "0.0";

  // The shortest round-trip form in scientific notation, "d.ddde+XX", taken apart into its
  // digits and decimal exponent and laid out again.
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (c != '.') digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::string_view exponent_text = text.substr(e + 1);
  if (exponent_text.front() == '+') exponent_text.remove_prefix(1);
  std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);

  long n = static_cast<long>(digits.size());
  if (exponent < -5 || exponent > 15) {
    out += digits.front();
    if (n > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += exponent > 0 ? "e+" : "e-";
    out += std::to_string(exponent > 0 ? exponent : -exponent);
    return out;
  }
  if (exponent >= n - 1) {
    out += digits;
    out.append(static_cast<std::size_t>(exponent - n + 1), '0');
    out += ".0";
  } else if (exponent >= 0) {
    out += digits.substr(0, static_cast<std::size_t>(exponent + 1));
    out += '.';
    out += digits.substr(static_cast<std::size_t>(exponent + 1));
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

std::string json_unsigned_text(std::uint64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace ovm::ir
