#include "engine/row_keys.hpp"

namespace ovm::engine {
namespace {

constexpr std::string_view parameter_word = "parameter";

// Escaped, a name holds `#` only after a backslash and a backslash only before `#` or `\`, so
// the leading backslash of \parameter cannot come from any other name.
std::string name_part(std::string_view name) {
  std::string part;
  if (name == parameter_word) part += '\\';
  for (char c : name) {
    if (c == '\\' || c == '#') part += '\\';
    part += c;
  }
  return part;
}

std::string reservoir_key(std::string_view reservoir, std::uint32_t id, std::string_view suffix) {
  std::string key = name_part(reservoir);
  key += '#';
  key += std::to_string(id);
  if (!suffix.empty()) {
    key += '#';
    key += suffix;
  }
  return key;
}

}  // namespace

std::string time_key() { return "time"; }

std::string parameter_key(ir::ParameterId parameter) {
  return std::string(parameter_word) + "#" + std::to_string(parameter.index);
}

std::string composition_key(std::string_view reservoir, ir::IsotopeId isotope) {
  return reservoir_key(reservoir, isotope, {});
}

std::string amount_key(std::string_view reservoir, ir::SpeciesId species) {
  return reservoir_key(reservoir, species, "amount");
}

std::string remaining_key(std::string_view reservoir, ir::SpeciesId species) {
  return reservoir_key(reservoir, species, "remaining");
}

std::string reacted_key(std::string_view reservoir, ir::SpeciesId species) {
  return reservoir_key(reservoir, species, "reacted");
}

std::string pool_composition_key(std::string_view reservoir, ir::SpeciesId species, ir::IsotopeId isotope) {
  return reservoir_key(reservoir, species, std::to_string(isotope));
}

}  // namespace ovm::engine
