#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace ovm::sema {

// An isotope as written: a mass number of one to three digits and an element symbol (53Cr).
struct Isotope {
  std::uint16_t mass = 0;
  std::string symbol;  // one upper-case ASCII letter, optionally one lower-case one

  friend bool operator==(const Isotope&, const Isotope&) = default;
};

// Two isotopes of one element joined by a slash, numerator first (53Cr/52Cr).
struct IsotopeRatio {
  std::string element;
  std::uint16_t numerator = 0;
  std::uint16_t denominator = 0;

  friend bool operator==(const IsotopeRatio&, const IsotopeRatio&) = default;
};

// Why a text is no isotope ratio.
struct RatioError {
  enum class Kind : std::uint8_t {
    Malformed,          // not two isotopes joined by a slash
    DifferentElements,  // two isotopes whose symbols differ
  };
  Kind kind = Kind::Malformed;
  std::string first;   // for DifferentElements: the numerator's symbol
  std::string second;  // and the denominator's

  friend bool operator==(const RatioError&, const RatioError&) = default;
};

using RatioParse = std::variant<IsotopeRatio, RatioError>;

// `text` whole as an isotope (053Cr has mass 53); none for any other text.
std::optional<Isotope> parse_isotope(std::string_view text);

// `text` as two isotopes of one element around its first slash. A malformed side wins over a
// difference of elements; equal masses are allowed.
RatioParse parse_ratio(std::string_view text);

// `delta` (lower case, exactly) followed by an isotope: delta53Cr.
std::optional<Isotope> parse_delta_name(std::string_view text);

}  // namespace ovm::sema
