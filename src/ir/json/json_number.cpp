#include "ir/json/json_number.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace ovm::ir {
namespace {

char* put(char* out, const char* text, std::size_t size) {
  std::memcpy(out, text, size);
  return out + size;
}

char* put_zeros(char* out, long count) {
  if (count <= 0) return out;
  std::memset(out, '0', static_cast<std::size_t>(count));
  return out + count;
}

}  // namespace

char* write_json_number(char* out, double value) {
  if (!std::isfinite(value)) return put(out, "null", 4);
  if (std::signbit(value)) *out++ = '-';
  if (value == 0) return put(out, "0.0", 3);

  // A whole number below 10^15, as most constants are, is written as its digits and ".0":
  // every integer up to there is a double of its own, so its digits are the shortest.
  double magnitude = std::fabs(value);
  if (magnitude < 1e15) {
    auto whole = static_cast<std::uint64_t>(magnitude);
    if (static_cast<double>(whole) == magnitude) return put(write_json_unsigned(out, whole), ".0", 2);
  }

  // The shortest round-trip form in scientific notation, "d.ddde+XX", taken apart into its
  // digits and decimal exponent and laid out again.
  char buffer[32];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
  char* e = static_cast<char*>(std::memchr(buffer, 'e', static_cast<std::size_t>(end - buffer)));
  char digits[24];
  long n = 0;
  for (const char* c = buffer; c != e; ++c) {
    if (*c != '.') digits[n++] = *c;
  }
  while (n > 1 && digits[n - 1] == '0') --n;
  const char* exponent_text = e + 1;
  if (*exponent_text == '+') ++exponent_text;
  int exponent = 0;
  std::from_chars(exponent_text, end, exponent);

  if (exponent < -5 || exponent > 15) {
    *out++ = digits[0];
    if (n > 1) {
      *out++ = '.';
      out = put(out, digits + 1, static_cast<std::size_t>(n - 1));
    }
    out = put(out, exponent > 0 ? "e+" : "e-", 2);
    return write_json_unsigned(out, static_cast<std::uint64_t>(exponent > 0 ? exponent : -exponent));
  }
  if (exponent >= n - 1) {
    out = put(out, digits, static_cast<std::size_t>(n));
    out = put_zeros(out, exponent - n + 1);
    return put(out, ".0", 2);
  }
  if (exponent >= 0) {
    out = put(out, digits, static_cast<std::size_t>(exponent + 1));
    *out++ = '.';
    return put(out, digits + exponent + 1, static_cast<std::size_t>(n - exponent - 1));
  }
  out = put(out, "0.", 2);
  out = put_zeros(out, -exponent - 1);
  return put(out, digits, static_cast<std::size_t>(n));
}

char* write_json_unsigned(char* out, std::uint64_t value) {
  return std::to_chars(out, out + json_unsigned_bound, value).ptr;
}

void append_json_number(std::string& out, double value) {
  char buffer[json_number_bound];
  out.append(buffer, write_json_number(buffer, value));
}

std::string json_number_text(double value) {
  std::string out;
  append_json_number(out, value);
  return out;
}

void append_json_unsigned(std::string& out, std::uint64_t value) {
  char buffer[json_unsigned_bound];
  out.append(buffer, write_json_unsigned(buffer, value));
}

std::string json_unsigned_text(std::uint64_t value) {
  std::string out;
  append_json_unsigned(out, value);
  return out;
}

}  // namespace ovm::ir
