#include "engine/phreeqc/phreeqc_cell.hpp"

#include <array>
#include <limits>

#include "diagnostics/text_match.hpp"
#include "syntax/ascii.hpp"
#include "syntax/numbers.hpp"

namespace ovm::engine {
namespace {

std::size_t skip_digits(std::string_view text, std::size_t at) {
  while (at < text.size() && syntax::is_digit(text[at])) ++at;
  return at;
}

// digits[.digits] with digits on at least one side, then [e|E[+|-]digits], and nothing else.
bool is_decimal(std::string_view text) {
  std::size_t at = skip_digits(text, 0);
  bool whole = at > 0;
  bool fraction = false;
  if (at < text.size() && text[at] == '.') {
    std::size_t after = skip_digits(text, at + 1);
    fraction = after > at + 1;
    at = after;
  }
  if (!whole && !fraction) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t after = skip_digits(text, at);
    if (after == at) return false;
    at = after;
  }
  return at == text.size();
}

std::optional<double> read_word(std::string_view text) {
  static constexpr std::array<std::string_view, 2> infinities = {"inf", "infinity"};
  for (std::string_view word : infinities) {
    if (diagnostics::equals_ascii_folded(text, word)) return std::numeric_limits<double>::infinity();
  }
  if (diagnostics::equals_ascii_folded(text, "nan")) return std::numeric_limits<double>::quiet_NaN();
  return std::nullopt;
}

}  // namespace

std::optional<double> read_cell_number(std::string_view cell) {
  bool negative = false;
  if (!cell.empty() && (cell[0] == '+' || cell[0] == '-')) {
    negative = cell[0] == '-';
    cell.remove_prefix(1);
  }
  std::optional<double> magnitude = read_word(cell);
  // read_float gives the nearest double, infinity beyond the range and 0 below it.
  if (!magnitude && is_decimal(cell)) magnitude = syntax::read_float(cell);
  if (!magnitude) return std::nullopt;
  return negative ? -*magnitude : *magnitude;
}

}  // namespace ovm::engine
