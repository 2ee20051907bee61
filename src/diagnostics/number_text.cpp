#include "diagnostics/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace ovm::diagnostics {

std::string plain_decimal(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // Shortest round-trip digits in scientific form, e.g. "-1.2345e+05", then laid out again.
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

  std::string out;
  if (text.front() == '-') {
    out += '-';
    text.remove_prefix(1);
  }
  std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (c != '.') digits += c;
  }
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  // The decimal point sits after `point` digits (may be <= 0 or beyond the digits).
  long point = static_cast<long>(exponent) + 1;
  long count = static_cast<long>(digits.size());
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out += digits;
  } else if (point >= count) {
    out += digits;
    out.append(static_cast<std::size_t>(point - count), '0');
  } else {
    out += digits.substr(0, static_cast<std::size_t>(point));
    out += '.';
    out += digits.substr(static_cast<std::size_t>(point));
  }
  return out;
}

}  // namespace ovm::diagnostics
