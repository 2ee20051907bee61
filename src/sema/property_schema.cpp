#include "sema/property_schema.hpp"

namespace ovm::sema {

std::string_view as_str(PropertyType type) {
  switch (type) {
    case PropertyType::Text: return "Text";
    case PropertyType::String: return "String";
    case PropertyType::Identifier: return "Identifier";
    case PropertyType::Number: return "Number";
    case PropertyType::Date: return "Date";
    case PropertyType::Version: return "Version";
    case PropertyType::Path: return "Path";
    case PropertyType::Ratio: return "Ratio";
    case PropertyType::Enum: return "Enum";
    case PropertyType::Species: return "Species";
    case PropertyType::None: return "";
  }
  return "";
}

std::string_view offered_name(const PropertySpec& property) { return property.label.value_or(property.key); }

}  // namespace ovm::sema
