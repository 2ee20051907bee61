#pragma once

#include <string_view>

#include "fuzz_targets.hpp"

namespace ovm::fuzz {

// An isotope database file from any UTF-8 text: loading fails with an OV105 error that names
// the file and keeps nothing of it, or it loads; then isotope systems of every ratio the file
// gives take their standards from it, and every fractionation entry is looked up by queries
// made from its own fields, which must find it or entries that rank as well.
Finding check_database_text(std::string_view bytes);

}  // namespace ovm::fuzz
