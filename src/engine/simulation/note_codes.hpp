#pragma once

#include <string_view>

namespace ovm::engine {

// The diagnostic catalogue holds errors and warnings of specific conditions only, so the notes
// and the factor warnings of a run carry code texts of their own, outside the catalogue: one
// for every informational note of the engine, and one of the execution phase for a database
// factor applied outside the range it was measured in.
inline constexpr std::string_view note_code = "OV000";
inline constexpr std::string_view factor_range_warning_code = "OV300";

}  // namespace ovm::engine
