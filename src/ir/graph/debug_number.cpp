#include "ir/graph/debug_number.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

#include "diagnostics/number_text.hpp"

namespace ovm::ir {
namespace {

bool wants_exponent(double value) {
  double magnitude = std::fabs(value);
  return magnitude >= 1e16 || (magnitude > 0 && magnitude < 1e-4);
}

// "1.5e-07" and "1e+16" from the shortest scientific digits become 1.5e-7 and 1e16.
std::string exponent_form(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::size_t e = text.find('e');
  std::string out(text.substr(0, e));
  out += 'e';
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '-') out += '-';
  exponent.remove_prefix(1);  // the sign, always written
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  out += exponent;
  return out;
}

}  // namespace

std::string debug_number_text(double value) {
  if (!std::isfinite(value)) return diagnostics::plain_decimal(value);
  if (wants_exponent(value)) return exponent_form(value);
  std::string text = diagnostics::plain_decimal(value);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

}  // namespace ovm::ir
