#include "ir/json_number.hpp"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace ovm::ir {

void append_json_number(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  if (std::signbit(value)) out += '-';
  if (value == 0) {
    out += "0.0";
    return;
  }

  // The shortest round-trip form in scientific notation, "d.ddde+XX", taken apart into its
  // digits and decimal exponent and laid out again.
  char buffer[64];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific).ptr;
  char* e = static_cast<char*>(std::memchr(buffer, 'e', static_cast<std::size_t>(end - buffer)));
  char digits[32];
  long n = 0;
  for (const char* c = buffer; c != e; ++c) {
    if (*c != '.') digits[n++] = *c;
  }
  while (n > 1 && digits[n - 1] == '0') --n;
  const char* exponent_text = e + 1;
  if (*exponent_text == '+') ++exponent_text;
  int exponent = 0;
  std::from_chars(exponent_text, end, exponent);

  std::string_view all(digits, static_cast<std::size_t>(n));
  if (exponent < -5 || exponent > 15) {
    out += digits[0];
    if (n > 1) {
      out += '.';
      out += all.substr(1);
    }
    out += exponent > 0 ? "e+" : "e-";
    append_json_unsigned(out, static_cast<std::uint64_t>(exponent > 0 ? exponent : -exponent));
    return;
  }
  if (exponent >= n - 1) {
    out += all;
    out.append(static_cast<std::size_t>(exponent - n + 1), '0');
    out += ".0";
  } else if (exponent >= 0) {
    out += all.substr(0, static_cast<std::size_t>(exponent + 1));
    out += '.';
    out += all.substr(static_cast<std::size_t>(exponent + 1));
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += all;
  }
}

std::string json_number_text(double value) {
  std::string out;
  append_json_number(out, value);
  return out;
}

void append_json_unsigned(std::string& out, std::uint64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

std::string json_unsigned_text(std::uint64_t value) {
  std::string out;
  append_json_unsigned(out, value);
  return out;
}

}  // namespace ovm::ir
