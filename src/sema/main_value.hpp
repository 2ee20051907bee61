#pragma once

#include <cstddef>

#include "sema/property_schema.hpp"

namespace ovm::sema {

// The 0-based position of a statement's main value: a named number's name and the second
// word of a two-word label stand in front of it (source Ocean 0.4, law file "x.law").
std::size_t main_value_index(const PropertySpec& property);

}  // namespace ovm::sema
