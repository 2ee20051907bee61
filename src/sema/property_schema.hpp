#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ovm::sema {

// The kind of value a statement carries. `None` marks a statement that only names an entity.
enum class PropertyType : std::uint8_t {
  Text = 0,
  String = 1,
  Identifier = 2,
  Number = 3,
  Date = 4,
  Version = 5,
  Path = 6,
  Ratio = 7,
  Enum = 8,
  Species = 9,
  None = 255,
};

// "Text", "String", ... as messages show them (lower-cased there); the empty text for `None`.
std::string_view as_str(PropertyType type);

// The form of a statement. Only `Reference` and `NamedNumber` change what the checks do.
enum class StatementShape : std::uint8_t {
  Plain = 0,        // the key and its value(s)
  Reference = 1,    // the key and the name of an entity of the reference kind
  NamedNumber = 2,  // the key, a name, then the number that is the main value
  List = 4,         // the key and a bracketed list
  Condition = 5,    // the key and a comparison
  Law = 7,          // the key and an inline law
};

// A word that may follow a statement's main value, itself followed by one value.
struct ModifierSpec {
  std::string_view name{};  // matched under ASCII case folding
  PropertyType value_type = PropertyType::None;
  bool required = false;
};

// One statement key of one block kind. Texts and lists refer to constant data.
struct PropertySpec {
  std::string_view key{};  // lower case, except CONDITIONS `pH` and `Eh`
  // The two-word form: the first word is written as the key, the second as the first value.
  std::optional<std::string_view> label{};
  PropertyType value_type = PropertyType::None;
  StatementShape shape = StatementShape::Plain;
  // The entity kind reference values must name: a declared kind, `Species`, or `any`.
  std::optional<std::string_view> reference_kind{};
  // The dimension a Number's unit must measure.
  std::optional<std::string_view> dimension{};
  // For an Identifier that names a unit (the UNITS keys): the dimensions it may name.
  std::span<const std::string_view> admissible_dimensions{};
  // For an Enum, in suggestion order.
  std::span<const std::string_view> admissible_values{};
  std::span<const ModifierSpec> modifiers{};
  std::optional<double> min{};  // inclusive
  std::optional<double> max{};  // inclusive
  // Two statements of one block whose properties share a group are an error.
  std::optional<std::string_view> group{};
  // What stands when the statement is absent. Documentation only: no check applies it.
  std::optional<std::string_view> default_value{};
  bool required = false;
  bool recommended = false;
  // A Number written as a name is evaluated during the run; elsewhere the name must stand for
  // a parameter whose value is a number, read once before the run.
  bool evaluated = false;
};

// What a suggestion offers for the property: its label when it has one, otherwise its key.
std::string_view offered_name(const PropertySpec& property);

}  // namespace ovm::sema
