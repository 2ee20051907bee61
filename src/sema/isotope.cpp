#include "sema/isotope.hpp"

namespace ovm::sema {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool is_lower(char c) { return c >= 'a' && c <= 'z'; }

constexpr std::string_view delta_prefix = "delta";
constexpr std::size_t max_mass_digits = 3;

// An isotope whose symbol is still a slice of the text: ratios are read for many statements,
// and their texts are made once, at the end.
struct IsotopeSlice {
  std::uint16_t mass = 0;
  std::string_view symbol;
};

std::optional<IsotopeSlice> isotope_slice(std::string_view text) {
  std::size_t digits = 0;
  while (digits < text.size() && is_digit(text[digits])) ++digits;
  if (digits == text.size()) return std::nullopt;  // empty or all digits
  if (digits == 0 || digits > max_mass_digits) return std::nullopt;
  std::string_view symbol = text.substr(digits);
  if (!is_upper(symbol[0])) return std::nullopt;
  if (symbol.size() > 2) return std::nullopt;
  if (symbol.size() == 2 && !is_lower(symbol[1])) return std::nullopt;

  std::uint16_t mass = 0;
  for (char c : text.substr(0, digits)) mass = static_cast<std::uint16_t>(mass * 10 + (c - '0'));
  return IsotopeSlice{mass, symbol};
}

}  // namespace

std::optional<Isotope> parse_isotope(std::string_view text) {
  std::optional<IsotopeSlice> slice = isotope_slice(text);
  if (!slice) return std::nullopt;
  return Isotope{slice->mass, std::string(slice->symbol)};
}

RatioParse parse_ratio(std::string_view text) {
  std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return RatioError{};
  // Everything after the first slash is one side, so a second slash makes it fail.
  std::optional<IsotopeSlice> first = isotope_slice(text.substr(0, slash));
  std::optional<IsotopeSlice> second = isotope_slice(text.substr(slash + 1));
  if (!first || !second) return RatioError{};
  if (first->symbol != second->symbol) {
    return RatioError{RatioError::Kind::DifferentElements, std::string(first->symbol), std::string(second->symbol)};
  }
  return IsotopeRatio{std::string(first->symbol), first->mass, second->mass};
}

std::optional<Isotope> parse_delta_name(std::string_view text) {
  if (!text.starts_with(delta_prefix)) return std::nullopt;
  return parse_isotope(text.substr(delta_prefix.size()));
}

}  // namespace ovm::sema
