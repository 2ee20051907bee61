#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ovm::ir {

// A double as the lowered-model and results files write it: `null` when not finite; else the
// shortest digits that read back as the same double, in plain notation with at least one
// digit after the point when the decimal exponent is from -5 to 15 (1.0, 298.15, 0.00001,
// 1000000000000000.0, -0.0), in exponent notation otherwise (1.5e-6, 1e+16, 5e-324).
std::string json_number_text(double value);

// The same text appended to `out`, or written at `out` (room for json_number_bound bytes),
// with no string made on the way.
void append_json_number(std::string& out, double value);
inline constexpr std::size_t json_number_bound = 48;
char* write_json_number(char* out, double value);

// An unsigned integer as decimal digits, without sign or leading zeros.
std::string json_unsigned_text(std::uint64_t value);
void append_json_unsigned(std::string& out, std::uint64_t value);
inline constexpr std::size_t json_unsigned_bound = 20;
char* write_json_unsigned(char* out, std::uint64_t value);

}  // namespace ovm::ir
